#include "platform/linux/ChildPipeline.h"

#include <cerrno>
#include <vector>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {
void closeFd(int& fd)
{
    if (fd >= 0)
        ::close(fd);
    fd = -1;
}

// Starts one stage reading `input` and writing `output`, in process group `group` (0 makes a
// new group led by this stage). Its errors go nowhere: the answers are all we read.
pid_t spawnStage(const QStringList& stage, int input, int output, pid_t group)
{
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, input, STDIN_FILENO);
    posix_spawn_file_actions_adddup2(&actions, output, STDOUT_FILENO);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);

    // A stage whose reader died should die of SIGPIPE as usual, whatever our own handling is.
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    sigset_t defaults;
    sigemptyset(&defaults);
    sigaddset(&defaults, SIGPIPE);
    sigset_t unblocked;
    sigemptyset(&unblocked);
    posix_spawnattr_setsigdefault(&attributes, &defaults);
    posix_spawnattr_setsigmask(&attributes, &unblocked);
    posix_spawnattr_setpgroup(&attributes, group);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP | POSIX_SPAWN_SETSIGDEF |
                                              POSIX_SPAWN_SETSIGMASK);

    QList<QByteArray> arguments;
    for (const QString& argument : stage)
        arguments.append(argument.toLocal8Bit());
    std::vector<char*> argv;
    for (QByteArray& argument : arguments)
        argv.push_back(argument.data());
    argv.push_back(nullptr);

    pid_t pid = -1;
    const int error = posix_spawnp(&pid, argv[0], &actions, &attributes, argv.data(), environ);
    posix_spawnattr_destroy(&attributes);
    posix_spawn_file_actions_destroy(&actions);
    return error == 0 ? pid : -1;
}

bool socketPair(int (&ends)[2])
{
    return ::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, ends) == 0;
}

bool wouldBlock()
{
    return errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR;
}
} // namespace

ChildPipeline::ChildPipeline(QList<Stage> stages, std::chrono::milliseconds stallLimit)
    : m_stages(std::move(stages))
    , m_stallLimit(stallLimit)
{}

ChildPipeline::~ChildPipeline()
{
    stop();
}

QList<pid_t> ChildPipeline::processIds() const
{
    const std::lock_guard lock(m_mutex);
    return m_pids;
}

std::optional<QList<QByteArray>> ChildPipeline::exchange(const QList<QByteArray>& requests)
{
    if (requests.isEmpty())
        return QList<QByteArray>();
    QByteArray input;
    for (const QByteArray& request : requests)
        input += request + '\0';
    const std::lock_guard lock(m_mutex);
    for (int attempt = 0; attempt < 2; ++attempt) {
        if (m_pids.isEmpty() && !start())
            return std::nullopt;
        if (auto answers = tryExchange(input, requests.size()))
            return answers;
        stop();
    }
    return std::nullopt;
}

bool ChildPipeline::start()
{
    // Sockets rather than pipes at our ends: sending with MSG_NOSIGNAL reports a dead reader as
    // an error instead of a SIGPIPE for the whole program.
    int inputEnds[2];
    int outputEnds[2];
    if (!socketPair(inputEnds))
        return false;
    if (!socketPair(outputEnds)) {
        ::close(inputEnds[0]);
        ::close(inputEnds[1]);
        return false;
    }
    m_input = inputEnds[0];
    m_output = outputEnds[0];
    int stageInput = inputEnds[1];
    bool started = true;
    for (qsizetype i = 0; i < m_stages.size() && started; ++i) {
        int pipeEnds[2] = {-1, outputEnds[1]};
        const bool last = i + 1 == m_stages.size();
        if (!last && ::pipe2(pipeEnds, O_CLOEXEC) != 0) {
            started = false;
            break;
        }
        const pid_t pid =
            spawnStage(m_stages[i], stageInput, pipeEnds[1], m_pids.isEmpty() ? 0 : m_pids[0]);
        started = pid > 0;
        if (started)
            m_pids.append(pid);
        closeFd(stageInput);
        closeFd(pipeEnds[1]);
        stageInput = pipeEnds[0];
    }
    closeFd(stageInput);
    if (!started) {
        stop();
        return false;
    }
    ::fcntl(m_input, F_SETFL, ::fcntl(m_input, F_GETFL) | O_NONBLOCK);
    ::fcntl(m_output, F_SETFL, ::fcntl(m_output, F_GETFL) | O_NONBLOCK);
    return true;
}

void ChildPipeline::stop()
{
    closeFd(m_input);
    closeFd(m_output);
    if (!m_pids.isEmpty())
        ::kill(-m_pids[0], SIGKILL);
    for (pid_t pid : std::as_const(m_pids)) {
        ::kill(pid, SIGKILL);
        ::waitpid(pid, nullptr, 0);
    }
    m_pids.clear();
}

std::optional<QList<QByteArray>> ChildPipeline::tryExchange(const QByteArray& input,
                                                            qsizetype count)
{
    QList<QByteArray> answers;
    QByteArray partial;
    qsizetype written = 0;
    char buffer[65536];
    while (answers.size() < count) {
        const bool writing = written < input.size();
        pollfd fds[2] = {{m_output, POLLIN, 0}, {m_input, short(writing ? POLLOUT : 0), 0}};
        const int ready = ::poll(fds, 2, int(m_stallLimit.count()));
        if (ready == 0)
            return std::nullopt; // stalled: nothing moved for too long
        if (ready < 0) {
            if (errno == EINTR)
                continue;
            return std::nullopt;
        }
        if (writing && fds[1].revents != 0) {
            const ssize_t sent = ::send(m_input, input.constData() + written,
                                        size_t(input.size() - written), MSG_NOSIGNAL);
            if (sent < 0 && !wouldBlock())
                return std::nullopt;
            written += std::max<ssize_t>(sent, 0);
        }
        if (fds[0].revents != 0) {
            const ssize_t received = ::read(m_output, buffer, sizeof buffer);
            if (received == 0 || (received < 0 && !wouldBlock()))
                return std::nullopt; // the pipeline ended
            QByteArrayView chunk(buffer, std::max<ssize_t>(received, 0));
            for (qsizetype end = chunk.indexOf('\0'); end >= 0; end = chunk.indexOf('\0')) {
                partial += chunk.first(end);
                answers.append(std::exchange(partial, {}));
                chunk = chunk.sliced(end + 1);
            }
            partial += chunk;
        }
    }
    return answers;
}
