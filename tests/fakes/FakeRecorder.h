#pragma once

#include "input/Recorder.h"

// Records what the controller asked of the microphone and answers as scripted.
class FakeRecorder final : public Recorder
{
public:
    explicit FakeRecorder(const Clock& clock)
        : m_clock(clock)
    {}

    std::optional<RecorderError> start() override
    {
        ++starts;
        if (startError)
            return startError;
        if (!m_recording) {
            m_recording = true;
            m_startedAt = m_clock.now();
        }
        return std::nullopt;
    }
    std::optional<Take> stop() override
    {
        if (!m_recording)
            return std::nullopt;
        m_recording = false;
        ++stops;
        return take;
    }
    void cancel() override
    {
        if (m_recording)
            ++cancels;
        m_recording = false;
    }
    bool isRecording() const override { return m_recording; }
    Clock::TimePoint startedAt() const override { return m_startedAt; }

    std::optional<RecorderError> startError;
    std::optional<Take> take = Take{QByteArray(4000, 'a'), QStringLiteral("m4a")};
    int starts = 0;
    int stops = 0;
    int cancels = 0;

private:
    const Clock& m_clock;
    bool m_recording = false;
    Clock::TimePoint m_startedAt;
};
