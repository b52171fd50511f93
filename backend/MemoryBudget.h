#pragma once

#include <condition_variable>
#include <cstddef>
#include <mutex>

// The bytes of request bodies held in memory at once. A request reserves its share before its
// body is read and gives it back once the body is decoded; while the budget is spent, further
// large bodies wait their turn. A body larger than the whole budget is let in alone.
class MemoryBudget
{
public:
    class Share
    {
    public:
        Share() = default;
        Share(MemoryBudget& budget, std::size_t bytes);
        ~Share() { release(); }
        Share(Share&& other) noexcept;
        Share& operator=(Share&&) = delete;

        void release();

    private:
        MemoryBudget* m_budget = nullptr;
        std::size_t m_bytes = 0;
    };

    explicit MemoryBudget(std::size_t bytes);

    // Waits until `bytes` fit, then holds them until the share is released.
    Share reserve(std::size_t bytes);
    std::size_t inUse() const;

private:
    void giveBack(std::size_t bytes);

    std::size_t m_total;
    std::size_t m_used = 0;
    mutable std::mutex m_mutex;
    std::condition_variable m_released;
};
