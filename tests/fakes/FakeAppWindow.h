#pragma once

#include "core/AppWindow.h"
#include "core/WindowLayout.h"

// A window that only remembers whether it is shown.
class FakeAppWindow final : public AppWindow
{
public:
    explicit FakeAppWindow(WindowLayout l)
        : layout(std::move(l))
    {}
    void present() override
    {
        ++presents;
        shown = true;
    }
    void close() override { shown = false; }
    // What the window system does when the user clicks the close button.
    void userCloses()
    {
        Q_EMIT closing();
        shown = false;
    }

    WindowLayout layout;
    int presents = 0;
    bool shown = false;
};
