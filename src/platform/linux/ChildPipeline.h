#pragma once

#include <QByteArray>
#include <QList>
#include <QStringList>

#include <chrono>
#include <mutex>
#include <optional>

#include <sys/types.h>

// A pipeline of child processes (like `a | b | c` in a shell) kept running between requests.
// Each request is a null-terminated message on the first process's input and is answered by one
// null-terminated message on the last one's output. Writing and reading go on together, so a
// long request cannot deadlock against a long answer. A pipeline that dies, or stalls, is
// killed and started again. Safe to use from several threads (one exchange at a time).
class ChildPipeline
{
public:
    using Stage = QStringList; // program and arguments

    ChildPipeline(QList<Stage> stages, std::chrono::milliseconds stallLimit);
    ~ChildPipeline();
    ChildPipeline(const ChildPipeline&) = delete;
    ChildPipeline& operator=(const ChildPipeline&) = delete;

    // The answers to `requests` (each without its terminating null), in order. When the
    // pipeline fails it is restarted and the whole exchange tried once more; none when that
    // fails too.
    std::optional<QList<QByteArray>> exchange(const QList<QByteArray>& requests);

    // The running processes, first stage first; empty when none runs.
    QList<pid_t> processIds() const;

private:
    bool start();
    void stop();
    std::optional<QList<QByteArray>> tryExchange(const QByteArray& input, qsizetype count);

    QList<Stage> m_stages;
    std::chrono::milliseconds m_stallLimit;
    mutable std::mutex m_mutex;
    QList<pid_t> m_pids;
    int m_input = -1;  // our end of the first stage's standard input
    int m_output = -1; // our end of the last stage's standard output
};
