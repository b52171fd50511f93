#pragma once

#include "core/WindowFactory.h"

#include <QPointer>

// Windows that only remember whether they are shown.
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

class FakePill final : public StatusPill
{
public:
    void reposition(bool animated) override { lastRepositionAnimated = animated; }
    void orderFront() override { visible = true; }
    void orderOut() override { visible = false; }

    bool visible = false;
    std::optional<bool> lastRepositionAnimated;
};

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
