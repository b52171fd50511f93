#include "EnginePool.h"

#include <stdexcept>

EnginePool::EnginePool(std::vector<std::unique_ptr<SpeechEngine>> engines)
    : m_engines(std::move(engines))
{
    if (m_engines.empty()) {
        throw std::invalid_argument("an engine pool needs at least one engine");
    }
    for (const auto& engine : m_engines) {
        m_idle.push_back(engine.get());
    }
}

std::string EnginePool::transcribe(std::span<const std::int16_t> samples)
{
    SpeechEngine& engine = borrow();
    struct Return
    {
        EnginePool& pool;
        SpeechEngine& engine;
        ~Return() { pool.giveBack(engine); }
    } giveBackOnExit{*this, engine};
    return engine.transcribe(samples);
}

SpeechEngine& EnginePool::borrow()
{
    std::unique_lock lock(m_mutex);
    m_returned.wait(lock, [this] { return !m_idle.empty(); });
    SpeechEngine* engine = m_idle.back();
    m_idle.pop_back();
    return *engine;
}

void EnginePool::giveBack(SpeechEngine& engine)
{
    {
        const std::lock_guard lock(m_mutex);
        m_idle.push_back(&engine);
    }
    m_returned.notify_one();
}
