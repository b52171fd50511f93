#pragma once

#include <functional>

// Whether the program may record from a microphone, and asking the user for it.
class MicrophoneAccess
{
public:
    virtual ~MicrophoneAccess() = default;
    virtual bool isAuthorized() const = 0;
    // Asks where the desktop has a consent step; `done` runs later, on the main thread, with
    // the answer.
    virtual void requestAccess(std::function<void(bool granted)> done) = 0;
};
