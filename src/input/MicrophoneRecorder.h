#pragma once

#include "input/Recorder.h"
#include "platform/AudioConverter.h"
#include "platform/Scheduler.h"

#include <QByteArray>
#include <QObject>

#include <chrono>
#include <memory>
#include <optional>

class AudioEngine;
class AudioFileEncoder;
class PCMSink;
class TakeEncoder;

// Captures the default microphone while the user dictates, converting on the fly to 16 kHz mono
// 16-bit PCM and encoding it as it arrives, and on stop hands back one compressed recording. Main
// thread only, except the tap handler, which runs on the engine's capture thread, and the
// encoder's worker; both share only the sink.
class MicrophoneRecorder final : public QObject, public Recorder
{
    Q_OBJECT
    Q_PROPERTY(double level READ level NOTIFY levelChanged)

public:
    struct Collaborators
    {
        AudioEngine& engine;
        AudioConverterFactory makeConverter;
        AudioFileEncoder& encoder;
        const Clock& clock;
        Scheduler& scheduler;
    };

    static constexpr int tapBufferFrames = 4096;
    static constexpr double levelGain = 18.0;
    // Recordings of this many PCM bytes (0.1 s) or fewer count as nothing heard.
    static constexpr qsizetype minimumPcmBytes = 3200;
    static constexpr std::chrono::milliseconds levelInterval{50};

    explicit MicrophoneRecorder(Collaborators collaborators, QObject* parent = nullptr);
    ~MicrophoneRecorder() override;

    std::optional<RecorderError> start() override;
    std::optional<Take> stop() override;
    void cancel() override;
    bool isRecording() const override { return m_recording; }
    Clock::TimePoint startedAt() const override { return m_startedAt; }

    // Current input level, 0 to 1, refreshed 20 times a second while recording.
    double level() const { return m_level; }

Q_SIGNALS:
    void levelChanged();

private:
    void endCapture();
    void setLevel(double level);

    AudioEngine& m_engine;
    AudioConverterFactory m_makeConverter;
    AudioFileEncoder& m_encoder;
    const Clock& m_clock;
    Scheduler& m_scheduler;
    std::shared_ptr<PCMSink> m_sink;
    std::unique_ptr<TakeEncoder> m_encoding; // while recording
    TimerHandle m_levelTimer;
    double m_level = 0;
    bool m_recording = false;
    Clock::TimePoint m_startedAt;
};
