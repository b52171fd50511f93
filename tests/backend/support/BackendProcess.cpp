#include "BackendProcess.h"

#include <chrono>
#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <spawn.h>
#include <stdexcept>
#include <sys/wait.h>
#include <thread>

#include "FileBytes.h"

BackendProcess::BackendProcess(const std::filesystem::path& directory,
                               const std::vector<std::string>& options)
    : m_log(directory / "backend.log")
{
    std::vector<std::string> arguments = {MURMO_BACKEND_BINARY, "--port", "0", "--database",
                                          (directory / "backend.sqlite3").string()};
    arguments.insert(arguments.end(), options.begin(), options.end());
    std::vector<char*> argv;
    for (auto& argument : arguments) {
        argv.push_back(argument.data());
    }
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, m_log.c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_adddup2(&actions, STDOUT_FILENO, STDERR_FILENO);
    const int failed = posix_spawn(&m_pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (failed != 0) {
        throw std::runtime_error("cannot start murmo-backend");
    }
}

BackendProcess::~BackendProcess()
{
    stop();
}

int BackendProcess::waitUntilListening()
{
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + std::chrono::seconds(20);
    while (Clock::now() < deadline) {
        int port = -1;
        const std::string text = log();
        const auto line = text.find("murmo-backend listening on http://");
        if (line != std::string::npos &&
            std::sscanf(text.c_str() + line, "murmo-backend listening on http://%*[^:]:%d",
                        &port) == 1) {
            return port;
        }
        if (m_status >= 0 || waitpid(m_pid, &m_status, WNOHANG) == m_pid) {
            return -1;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return -1;
}

int BackendProcess::stop()
{
    if (m_status < 0) {
        kill(m_pid, SIGTERM);
        waitpid(m_pid, &m_status, 0);
    }
    return WIFEXITED(m_status) ? WEXITSTATUS(m_status) : -1;
}

std::string BackendProcess::log() const
{
    return fileBytes(m_log);
}
