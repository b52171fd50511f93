#pragma once

#include "platform/MicrophoneAccess.h"

#include <vector>

// A microphone whose authorisation the test sets; requests wait until the test answers them.
class FakeMicrophoneAccess final : public MicrophoneAccess
{
public:
    bool isAuthorized() const override { return authorized; }
    void requestAccess(std::function<void(bool)> done) override
    {
        pending.push_back(std::move(done));
    }

    void answer(bool granted)
    {
        authorized = granted;
        for (auto& done : std::exchange(pending, {}))
            done(granted);
    }

    bool authorized = true;
    std::vector<std::function<void(bool)>> pending;
};
