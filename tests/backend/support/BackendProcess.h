#pragma once

#include <filesystem>
#include <string>
#include <sys/types.h>
#include <vector>

// The murmo-backend binary run with the given options (and a database of its own), everything it
// prints going to one log file, as scripts/backend runs it.
class BackendProcess
{
public:
    BackendProcess(const std::filesystem::path& directory, const std::vector<std::string>& options);
    ~BackendProcess();
    BackendProcess(const BackendProcess&) = delete;
    BackendProcess& operator=(const BackendProcess&) = delete;

    // The port once it says it is listening; -1 when it exited first or did not say so in 20 s.
    int waitUntilListening();
    // Stops it (SIGTERM) if it still runs; its exit status.
    int stop();
    std::string log() const;

private:
    std::filesystem::path m_log;
    pid_t m_pid = -1;
    int m_status = -1;
};
