#include "EnginePool.h"

#include <algorithm>
#include <malloc.h>
#include <stdexcept>

namespace {

EnginePool::Settings checked(EnginePool::Settings settings)
{
    if (settings.capacity == 0) {
        throw std::invalid_argument("an engine pool needs room for at least one engine");
    }
    return settings;
}

} // namespace

EnginePool::EnginePool(Factory factory, Settings settings, Clock clock)
    : m_factory(std::move(factory))
    , m_settings(checked(settings))
    , m_clock(std::move(clock))
    , m_unloader([this] { runUnloader(); })
{}

EnginePool::~EnginePool()
{
    {
        const std::lock_guard lock(m_mutex);
        m_stopping = true;
    }
    m_changed.notify_all();
    m_unloader.join();
}

std::string EnginePool::transcribe(const Speech& speech)
{
    struct Loan
    {
        EnginePool& pool;
        std::unique_ptr<SpeechEngine> engine;
        ~Loan() { pool.giveBack(std::move(engine)); }
    } loan{*this, borrow()};
    return loan.engine->transcribe(speech);
}

void EnginePool::preload()
{
    giveBack(borrow());
}

void EnginePool::unloadIdle()
{
    std::vector<Idle> expired;
    {
        const std::lock_guard lock(m_mutex);
        // Idle engines are kept in the order they came back, so the expired ones lead.
        const auto firstKept =
            std::ranges::find_if(m_idle, [this, now = m_clock()](const Idle& idle) {
                return now - idle.since < m_settings.unloadAfter;
            });
        expired.assign(std::make_move_iterator(m_idle.begin()), std::make_move_iterator(firstKept));
        m_idle.erase(m_idle.begin(), firstKept);
    }
    if (!expired.empty()) {
        expired.clear();
        // A model is many small allocations; glibc keeps freed memory for reuse unless asked to
        // hand it back.
        malloc_trim(0);
    }
}

std::size_t EnginePool::loaded() const
{
    const std::lock_guard lock(m_mutex);
    return m_inUse + m_idle.size();
}

std::unique_ptr<SpeechEngine> EnginePool::borrow()
{
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [this] { return !m_idle.empty() || m_inUse < m_settings.capacity; });
    ++m_inUse;
    if (!m_idle.empty()) {
        auto engine = std::move(m_idle.back().engine);
        m_idle.pop_back();
        return engine;
    }
    lock.unlock();
    try {
        return m_factory();
    } catch (...) {
        lock.lock();
        --m_inUse;
        lock.unlock();
        m_changed.notify_all();
        throw;
    }
}

void EnginePool::giveBack(std::unique_ptr<SpeechEngine> engine)
{
    {
        const std::lock_guard lock(m_mutex);
        --m_inUse;
        m_idle.push_back({std::move(engine), m_clock()});
    }
    m_changed.notify_all();
}

void EnginePool::runUnloader()
{
    std::unique_lock lock(m_mutex);
    while (!m_stopping) {
        if (m_idle.empty()) {
            m_changed.wait(lock);
            continue;
        }
        const auto due = m_idle.front().since + m_settings.unloadAfter;
        if (const auto now = m_clock(); due > now) {
            m_changed.wait_for(lock, due - now);
            continue;
        }
        lock.unlock();
        unloadIdle();
        lock.lock();
    }
}
