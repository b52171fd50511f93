#pragma once

#include "platform/Clock.h"
#include "platform/SyntheticKeyboard.h"

#include <QList>

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
        return std::make_unique<Recorded>(*this, keyCode, modifierFlags);
    }

    bool refuse = false;
    QList<Posted> posted;

private:
    class Recorded final : public Keystroke
    {
    public:
        Recorded(FakeSyntheticKeyboard& keyboard, int keyCode, std::uint64_t modifierFlags)
            : m_keyboard(keyboard)
            , m_keyCode(keyCode)
            , m_flags(modifierFlags)
        {}
        void postKeyDown() override { post(true); }
        void postKeyUp() override { post(false); }

    private:
        void post(bool down)
        {
            m_keyboard.posted.append({down, m_keyCode, m_flags, m_keyboard.m_clock.now()});
        }

        FakeSyntheticKeyboard& m_keyboard;
        int m_keyCode;
        std::uint64_t m_flags;
    };

    const Clock& m_clock;
};
