#pragma once

#include "platform/Clock.h"
#include "platform/SyntheticKeyboard.h"

#include <QList>

#include <functional>

// Records the keystrokes posted, with the virtual time of each event; can refuse to make them.
class FakeSyntheticKeyboard final : public SyntheticKeyboard
{
public:
    struct Posted
    {
        bool down;
        int keyCode;
        std::uint64_t modifierFlags;
        Clock::TimePoint at;
        friend bool operator==(const Posted&, const Posted&) = default;
    };

    explicit FakeSyntheticKeyboard(const Clock& clock)
        : m_clock(clock)
    {}

    std::unique_ptr<Keystroke> makeKeystroke(int keyCode, std::uint64_t modifierFlags) override
    {
        if (refuse)
            return nullptr;
        return std::make_unique<Recorded>([=, this](bool down) {
            posted.append({down, keyCode, modifierFlags, m_clock.now()});
        });
    }

    bool refuse = false;
    QList<Posted> posted;

private:
    struct Recorded final : Keystroke
    {
        explicit Recorded(std::function<void(bool)> post)
            : post(std::move(post))
        {}
        void postKeyDown() override { post(true); }
        void postKeyUp() override { post(false); }
        std::function<void(bool)> post;
    };

    const Clock& m_clock;
};
