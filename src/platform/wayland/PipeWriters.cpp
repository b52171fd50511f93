#include "platform/wayland/PipeWriters.h"

#include <QSocketNotifier>

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>

class PipeWriters::Writer
{
public:
    Writer(int fd, QByteArray bytes, Done done)
        : m_fd(fd)
        , m_bytes(std::move(bytes))
        , m_done(std::move(done))
        , m_notifier(fd, QSocketNotifier::Write)
    {
        ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) | O_NONBLOCK);
        QObject::connect(&m_notifier, &QSocketNotifier::activated, &m_notifier, [this] { push(); });
    }
    // An unfinished write just ends: its reader sees the pipe close early.
    ~Writer()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    Writer(const Writer&) = delete;
    Writer& operator=(const Writer&) = delete;

    bool done() const { return m_fd < 0; }

private:
    void push()
    {
        while (m_written < m_bytes.size()) {
            const ssize_t wrote =
                ::write(m_fd, m_bytes.constData() + m_written, m_bytes.size() - m_written);
            if (wrote < 0 && errno == EINTR)
                continue;
            if (wrote < 0 && errno == EAGAIN)
                return;
            if (wrote <= 0)
                return finish(false); // the reader went away
            m_written += wrote;
        }
        finish(true);
    }
    void finish(bool complete)
    {
        m_notifier.setEnabled(false);
        ::close(m_fd);
        m_fd = -1;
        if (const auto done = std::exchange(m_done, {}))
            done(complete);
    }

    int m_fd;
    QByteArray m_bytes;
    qsizetype m_written = 0;
    Done m_done;
    QSocketNotifier m_notifier;
};

PipeWriters::PipeWriters(Scheduler& scheduler)
    : m_scheduler(scheduler)
{
    // A reader that closes its pipe early must cost a failed write, not the process.
    std::signal(SIGPIPE, SIG_IGN);
}

PipeWriters::~PipeWriters() = default;

void PipeWriters::write(int fd, QByteArray bytes, Done done)
{
    m_writers.push_back(std::make_unique<Writer>(fd, std::move(bytes), std::move(done)));
    // Finished writers go on a later turn of the event loop, outside their notifier's signal.
    m_sweep = m_scheduler.runEvery(std::chrono::seconds(1), [this] {
        std::erase_if(m_writers, [](const auto& writer) { return writer->done(); });
        if (m_writers.empty())
            m_sweep.cancel();
    });
}
