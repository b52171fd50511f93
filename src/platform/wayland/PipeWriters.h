#pragma once

#include "platform/Scheduler.h"

#include <QByteArray>

#include <functional>
#include <list>
#include <memory>

// Hands bytes to other programs through pipes they gave us, as fast as each reader takes them,
// without ever blocking: the way a clipboard owner serves its formats. Main thread only.
class PipeWriters
{
public:
    // Whether every byte went out.
    using Done = std::function<void(bool complete)>;

    explicit PipeWriters(Scheduler& scheduler);
    ~PipeWriters();
    PipeWriters(const PipeWriters&) = delete;
    PipeWriters& operator=(const PipeWriters&) = delete;

    // Takes `fd`, the write end.
    void write(int fd, QByteArray bytes, Done done = {});

private:
    class Writer;

    Scheduler& m_scheduler;
    std::list<std::unique_ptr<Writer>> m_writers;
    TimerHandle m_sweep;
};
