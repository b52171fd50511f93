#pragma once

#include "core/AppWindow.h"
#include "core/StatusPill.h"
#include "core/WindowLayout.h"

#include <memory>

// Creates the application's windows; the user interface layer provides it.
class WindowFactory
{
public:
    virtual ~WindowFactory() = default;
    virtual std::unique_ptr<StatusPill> createPill() = 0;
    virtual std::unique_ptr<AppWindow> createHomeWindow(const WindowLayout& layout) = 0;
    virtual std::unique_ptr<AppWindow> createOnboardingWindow(const WindowLayout& layout) = 0;
};
