#pragma once

#include "core/WindowFactory.h"
#include "fakes/FakeAppWindow.h"
#include "fakes/FakePill.h"

#include <QPointer>

// Hands out fake windows and keeps an eye on them.
class FakeWindowFactory final : public WindowFactory
{
public:
    std::unique_ptr<StatusPill> createPill() override
    {
        auto created = std::make_unique<FakePill>();
        pill = created.get();
        return created;
    }
    std::unique_ptr<AppWindow> createHomeWindow(const WindowLayout& layout) override
    {
        auto created = std::make_unique<FakeAppWindow>(layout);
        home = created.get();
        ++homesCreated;
        return created;
    }
    std::unique_ptr<AppWindow> createOnboardingWindow(const WindowLayout& layout) override
    {
        auto created = std::make_unique<FakeAppWindow>(layout);
        onboarding = created.get();
        ++onboardingsCreated;
        return created;
    }

    FakePill* pill = nullptr;
    QPointer<FakeAppWindow> home;
    QPointer<FakeAppWindow> onboarding;
    int homesCreated = 0;
    int onboardingsCreated = 0;
};
