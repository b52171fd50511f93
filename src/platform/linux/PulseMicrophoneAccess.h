#pragma once

#include "platform/MicrophoneAccess.h"

#include <atomic>

struct pa_context;
struct pa_threaded_mainloop;

// On Linux nothing asks the user for consent: the microphone may be used when the sound server
// has a default input that is a real source (not the monitor of an output). The answer is kept
// up to date from the server's change events on libpulse's own thread, so asking never waits.
class PulseMicrophoneAccess final : public MicrophoneAccess
{
public:
    PulseMicrophoneAccess();
    ~PulseMicrophoneAccess() override;
    PulseMicrophoneAccess(const PulseMicrophoneAccess&) = delete;
    PulseMicrophoneAccess& operator=(const PulseMicrophoneAccess&) = delete;

    // A server that was down is looked for again.
    bool isAuthorized() const override;
    void requestAccess(std::function<void(bool granted)> done) override;

private:
    // With the mainloop locked.
    void connect() const;
    void query() const;

    static void stateChanged(pa_context* context, void* self);

    pa_threaded_mainloop* m_mainloop = nullptr;
    mutable pa_context* m_context = nullptr;
    mutable std::atomic<bool> m_available = false;
};
