#include "platform/wayland/PipeReader.h"

#include <fcntl.h>
#include <unistd.h>

#include <array>
#include <cerrno>

// Suspends until the pipe has something to read or the time is up; true when it is readable.
class PipeReader::Wait
{
public:
    explicit Wait(PipeReader& reader)
        : m_reader(reader)
    {}
    bool await_ready() const noexcept { return m_reader.m_expired; }
    void await_suspend(std::coroutine_handle<> waiter)
    {
        m_reader.m_waiter = waiter;
        m_reader.m_notifier->setEnabled(true);
    }
    bool await_resume() const noexcept { return !m_reader.m_expired; }

private:
    PipeReader& m_reader;
};

PipeReader::PipeReader(Scheduler& scheduler, int fd, Limits limits)
    : m_scheduler(scheduler)
    , m_fd(fd)
    , m_limits(limits)
    , m_notifier(std::make_unique<QSocketNotifier>(fd, QSocketNotifier::Read))
{
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) | O_NONBLOCK);
    m_notifier->setEnabled(false);
    QObject::connect(m_notifier.get(), &QSocketNotifier::activated, m_notifier.get(),
                     [this] { wake(); });
    m_deadline = m_scheduler.runAfter(limits.time, [this] {
        m_expired = true;
        wake();
    });
}

PipeReader::~PipeReader()
{
    m_notifier.reset();
    ::close(m_fd);
}

QCoro::Task<PipeReader::Result> PipeReader::read(Scheduler& scheduler, int fd, Limits limits)
{
    PipeReader reader(scheduler, fd, limits);
    co_return co_await reader.readAll();
}

QCoro::Task<PipeReader::Result> PipeReader::readAll()
{
    QByteArray bytes;
    std::array<char, 65536> chunk;
    for (;;) {
        const ssize_t got = ::read(m_fd, chunk.data(), chunk.size());
        if (got > 0) {
            bytes.append(chunk.data(), got);
            if (bytes.size() > m_limits.size)
                co_return Result{.bytes = std::nullopt, .tooLarge = true};
            continue;
        }
        if (got == 0)
            co_return Result{.bytes = std::move(bytes)};
        if (errno == EINTR)
            continue;
        if (errno != EAGAIN)
            co_return Result{};
        if (!co_await Wait(*this))
            co_return Result{.bytes = std::nullopt, .late = true};
    }
}

// The waiter resumes on a fresh turn of the event loop, outside the notifier's signal and the
// timer's callback, so that it may drop both.
void PipeReader::wake()
{
    m_notifier->setEnabled(false);
    if (!m_waiter)
        return;
    m_wake = m_scheduler.runAfter(Scheduler::Duration::zero(),
                                  [this] { std::exchange(m_waiter, {}).resume(); });
}
