#pragma once

#include "platform/AudioEngine.h"

#include <QByteArray>
#include <QString>

#include <chrono>
#include <functional>

struct pa_context;
struct pa_operation;
struct pa_stream;
struct pa_threaded_mainloop;

// The default microphone through the PulseAudio protocol (PulseAudio itself, or PipeWire's
// server for it). libpulse runs on a thread of its own, which is the capture thread; the main
// thread waits for it only up to a time limit. Every inputFormat() finds the server and its
// default source afresh, so a server that was down or has restarted is used by the next start.
class PulseAudioEngine final : public AudioEngine
{
public:
    // How long finding the input or opening it may take before the call gives up.
    static constexpr std::chrono::milliseconds timeLimit{2000};

    PulseAudioEngine();
    ~PulseAudioEngine() override;
    PulseAudioEngine(const PulseAudioEngine&) = delete;
    PulseAudioEngine& operator=(const PulseAudioEngine&) = delete;

    AudioFormat inputFormat() override;
    void installTap(int bufferFrames, TapHandler handler) override;
    void removeTap() override;
    std::optional<PlatformError> start() override;
    void stop() override;

private:
    using Deadline = std::chrono::steady_clock::time_point;

    // With the mainloop locked.
    bool waitUntil(Deadline deadline, const std::function<bool()>& done);
    bool complete(pa_operation* operation, Deadline deadline);
    bool connect(Deadline deadline);
    void dropContext();
    std::optional<PlatformError> openStream(Deadline deadline);
    void watchStream();
    void closeStream();
    void readAvailable();
    void deliverWholeBuffers();
    void streamStateChanged();
    void streamSuspendedChanged();
    void reportLoss(const QString& what);

    pa_threaded_mainloop* m_mainloop = nullptr;
    // Everything below belongs to the mainloop's lock.
    pa_context* m_context = nullptr;
    pa_stream* m_stream = nullptr;
    QByteArray m_sourceName;
    AudioFormat m_format;
    TapHandler m_tap;
    int m_tapFrames = 0;
    QByteArray m_pending; // captured, not yet handed to the tap
    bool m_deliveredAny = false;
    bool m_capturing = false; // between a successful start and the next stop
    bool m_lossReported = false;
};
