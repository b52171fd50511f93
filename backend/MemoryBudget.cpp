#include "MemoryBudget.h"

#include <utility>

MemoryBudget::Share::Share(MemoryBudget& budget, std::size_t bytes)
    : m_budget(&budget)
    , m_bytes(bytes)
{}

MemoryBudget::Share::Share(Share&& other) noexcept
    : m_budget(std::exchange(other.m_budget, nullptr))
    , m_bytes(std::exchange(other.m_bytes, 0))
{}

void MemoryBudget::Share::release()
{
    if (m_budget) {
        std::exchange(m_budget, nullptr)->giveBack(m_bytes);
    }
}

MemoryBudget::MemoryBudget(std::size_t bytes)
    : m_total(bytes)
{}

MemoryBudget::Share MemoryBudget::reserve(std::size_t bytes)
{
    std::unique_lock lock(m_mutex);
    m_released.wait(lock, [&] { return m_used == 0 || m_used + bytes <= m_total; });
    m_used += bytes;
    return Share(*this, bytes);
}

std::size_t MemoryBudget::inUse() const
{
    const std::lock_guard lock(m_mutex);
    return m_used;
}

void MemoryBudget::giveBack(std::size_t bytes)
{
    {
        const std::lock_guard lock(m_mutex);
        m_used -= bytes;
    }
    m_released.notify_all();
}
