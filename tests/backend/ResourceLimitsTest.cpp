#include <condition_variable>
#include <future>
#include <gtest/gtest.h>
#include <set>

#include "EnginePool.h"
#include "MemoryBudget.h"

namespace {

using namespace std::chrono_literals;
using TimePoint = std::chrono::steady_clock::time_point;

constexpr auto bounded = 10s; // a wait that only a fault makes run out

// Engines that answer with their serial number and hold every call until the test opens the gate.
struct Engines
{
    class Engine : public SpeechEngine
    {
    public:
        Engine(Engines& all, int serial)
            : m_all(all)
            , m_serial(serial)
        {
            ++all.alive;
        }
        ~Engine() override { --m_all.alive; }
        std::string transcribe(const Speech&) override
        {
            m_all.enter();
            m_all.gate.wait();
            return std::to_string(m_serial);
        }

    private:
        Engines& m_all;
        int m_serial;
    };

    EnginePool::Factory factory()
    {
        return [this] { return std::make_unique<Engine>(*this, ++made); };
    }
    void enter()
    {
        const std::lock_guard lock(mutex);
        ++entered;
        changed.notify_all();
    }
    bool waitUntilEntered(int count)
    {
        std::unique_lock lock(mutex);
        return changed.wait_for(lock, bounded, [&] { return entered >= count; });
    }

    std::atomic<int> made = 0;
    std::atomic<int> alive = 0;
    std::shared_future<void> gate;
    std::mutex mutex;
    std::condition_variable changed;
    int entered = 0;
};

TEST(ResourceLimitsTest, EnginesLoadOnDemandUpToTheCapacityAndUnloadAfterRest)
{
    Engines engines;
    std::promise<void> open;
    engines.gate = open.get_future().share();
    std::atomic<TimePoint> now{};
    EnginePool pool(engines.factory(), {2, 5min}, [&] { return now.load(); });
    EXPECT_EQ(pool.loaded(), 0u) << "nothing is loaded before it is needed";

    auto transcribe = [&] {
        return std::async(std::launch::async, [&] { return pool.transcribe({}); });
    };
    auto first = transcribe();
    auto second = transcribe();
    auto third = transcribe();
    ASSERT_TRUE(engines.waitUntilEntered(2));
    EXPECT_EQ(engines.made, 2);
    EXPECT_EQ(third.wait_for(50ms), std::future_status::timeout) << "a third engine was loaded";
    open.set_value();
    ASSERT_EQ(third.wait_for(bounded), std::future_status::ready);
    EXPECT_EQ(std::set({first.get(), second.get(), third.get()}).size(), 2u);
    EXPECT_EQ(engines.made, 2);

    now = now.load() + 4min;
    pool.transcribe({}); // the engine used last stays longest
    now = now.load() + 1min;
    pool.unloadIdle();
    EXPECT_EQ(engines.alive, 1);
    now = now.load() + 5min;
    pool.unloadIdle();
    EXPECT_EQ(engines.alive, 0);
    EXPECT_EQ(pool.transcribe({}), "3") << "a new one is loaded after a pause";
}

TEST(ResourceLimitsTest, LargeBodiesWaitForRoomInTheMemoryBudget)
{
    MemoryBudget budget(100);
    auto small = budget.reserve(10);
    auto large = budget.reserve(80);
    auto next = std::async(std::launch::async, [&] { return budget.reserve(80); });
    EXPECT_EQ(next.wait_for(50ms), std::future_status::timeout);
    large.release();
    ASSERT_EQ(next.wait_for(bounded), std::future_status::ready);
    EXPECT_EQ(budget.inUse(), 90u);
    small.release();
    next.get().release();
    // One body larger than the whole budget is let in alone.
    auto alone = std::async(std::launch::async, [&] { return budget.reserve(300); });
    ASSERT_EQ(alone.wait_for(bounded), std::future_status::ready);
    EXPECT_EQ(budget.inUse(), 300u);
}

} // namespace
