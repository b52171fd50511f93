#pragma once

#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "SpeechEngine.h"

// Engines made on demand behind one: each call borrows an idle engine, loading another while fewer
// than `capacity` exist and waiting while all are busy, so concurrent requests never share one.
// An engine left idle for `unloadAfter` is let go, so the server holds little while nobody speaks.
class EnginePool : public SpeechEngine
{
public:
    using Factory = std::function<std::unique_ptr<SpeechEngine>()>;
    using Clock = std::function<std::chrono::steady_clock::time_point()>;
    struct Settings
    {
        std::size_t capacity = 1;
        std::chrono::milliseconds unloadAfter = std::chrono::minutes(5);
    };

    EnginePool(Factory factory, Settings settings, Clock clock = &std::chrono::steady_clock::now);
    ~EnginePool() override;
    EnginePool(const EnginePool&) = delete;
    EnginePool& operator=(const EnginePool&) = delete;

    std::string transcribe(const Speech& speech) override;
    // Loads an engine ahead of the first request; throws what the factory throws.
    void preload();
    // Lets go of the engines idle for unloadAfter; the pool's own thread calls it in time.
    void unloadIdle();
    std::size_t loaded() const;

private:
    using TimePoint = std::chrono::steady_clock::time_point;
    struct Idle
    {
        std::unique_ptr<SpeechEngine> engine;
        TimePoint since;
    };

    std::unique_ptr<SpeechEngine> borrow();
    void giveBack(std::unique_ptr<SpeechEngine> engine);
    void runUnloader();

    Factory m_factory;
    Settings m_settings;
    Clock m_clock;
    mutable std::mutex m_mutex;
    std::condition_variable m_changed;
    std::vector<Idle> m_idle; // the most recently used last
    std::size_t m_inUse = 0;  // busy or being loaded
    bool m_stopping = false;
    std::thread m_unloader; // last: it uses everything above
};
