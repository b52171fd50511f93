#pragma once

#include "platform/Scheduler.h"

#include <QByteArray>
#include <QSocketNotifier>

#include <QCoroTask>

#include <coroutine>
#include <memory>
#include <optional>

// Reads everything another program writes into a pipe until it closes its end, bounded in time
// and size: clipboard owners hand their data over this way, and a slow or huge one must cost a
// missing format, never a frozen program. Main thread only.
class PipeReader
{
public:
    struct Limits
    {
        Scheduler::Duration time;
        qsizetype size;
    };
    struct Result
    {
        std::optional<QByteArray> bytes; // none on failure
        bool late = false;               // the writer did not finish in time
        bool tooLarge = false;
    };

    // Takes `fd`, the read end.
    static QCoro::Task<Result> read(Scheduler& scheduler, int fd, Limits limits);

private:
    class Wait;

    PipeReader(Scheduler& scheduler, int fd, Limits limits);
    ~PipeReader();
    PipeReader(const PipeReader&) = delete;
    PipeReader& operator=(const PipeReader&) = delete;

    QCoro::Task<Result> readAll();
    void wake();

    Scheduler& m_scheduler;
    int m_fd;
    Limits m_limits;
    std::unique_ptr<QSocketNotifier> m_notifier;
    TimerHandle m_deadline;
    TimerHandle m_wake;
    std::coroutine_handle<> m_waiter;
    bool m_expired = false;
};
