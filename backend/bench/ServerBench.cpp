// murmo-backend as a process, measured from outside: resident memory at rest and under four
// concurrent 49 MB dictations, the latency of the first dictation after the decoders were let go,
// and the word error rate of recorded speech sent through the server between other requests.
// Prints figures; asserts nothing.
//
// Usage: backend_server_bench [--unload-after SECONDS] [--data DIR]

#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <fstream>
#include <httplib.h>
#include <nlohmann/json.hpp>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

#include "Base64.h"
#include "SpeechCorpus.h"

namespace {

using Clock = std::chrono::steady_clock;
using Json = nlohmann::json;

// The server binary on a free port with a database of its own.
class RunningServer
{
public:
    explicit RunningServer(int unloadAfterSeconds)
    {
        char directory[] = "/tmp/murmo-server-bench-XXXXXX";
        m_directory = mkdtemp(directory);
        int output[2];
        if (pipe(output) != 0) {
            throw std::runtime_error("no pipe");
        }
        m_pid = fork();
        if (m_pid == 0) {
            dup2(output[1], STDOUT_FILENO);
            const std::string database = m_directory + "/backend.sqlite3";
            const std::string unload = std::to_string(unloadAfterSeconds);
            execl(MURMO_BACKEND_BINARY, MURMO_BACKEND_BINARY, "--port", "0", "--workers", "2",
                  "--database", database.c_str(), "--unload-after", unload.c_str(), nullptr);
            _exit(127);
        }
        close(output[1]);
        m_output = fdopen(output[0], "r");
        char line[256] = {};
        while (fgets(line, sizeof line, m_output) &&
               !std::sscanf(line, "murmo-backend listening on http://%*[^:]:%d", &m_port)) {
        }
        if (m_port <= 0) {
            throw std::runtime_error("murmo-backend did not start");
        }
    }
    ~RunningServer()
    {
        kill(m_pid, SIGTERM);
        waitpid(m_pid, nullptr, 0);
        fclose(m_output);
        std::filesystem::remove_all(m_directory);
    }

    int port() const { return m_port; }
    // VmRSS or VmHWM of the server, in MB.
    double memory(const std::string& field) const
    {
        std::ifstream status("/proc/" + std::to_string(m_pid) + "/status");
        for (std::string line; std::getline(status, line);) {
            if (line.starts_with(field + ":")) {
                return std::stod(line.substr(field.size() + 1)) / 1024;
            }
        }
        return 0;
    }
    // Starts VmHWM afresh from the current resident size.
    void resetPeak() const
    {
        std::ofstream("/proc/" + std::to_string(m_pid) + "/clear_refs") << "5";
    }

private:
    std::string m_directory;
    pid_t m_pid = -1;
    FILE* m_output = nullptr;
    int m_port = -1;
};

struct Reply
{
    int status = 0;
    Json body;
    double seconds = 0;
};

Reply post(int port, const std::string& path, const std::string& body, const std::string& token)
{
    httplib::Client client("127.0.0.1", port);
    client.set_read_timeout(std::chrono::minutes(10));
    client.set_write_timeout(std::chrono::minutes(10));
    httplib::Headers headers;
    if (!token.empty()) {
        headers.emplace("Authorization", "Bearer " + token);
    }
    const auto start = Clock::now();
    const auto result = client.Post(path, headers, body, "application/json");
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    if (!result) {
        return {0, {}, seconds};
    }
    return {result->status, Json::parse(result->body, nullptr, false), seconds};
}

std::string dictation(const std::string& wav)
{
    return Json{{"audio", Base64::encode(wav)}, {"ext", "wav"}}.dump();
}

std::string rawOf(const Reply& reply)
{
    return reply.body.is_object() && reply.body.contains("raw") && reply.body["raw"].is_string()
               ? reply.body["raw"].get<std::string>()
               : std::string();
}

std::string wavFile(const std::string& pcm, std::uint32_t rate, std::uint16_t channels)
{
    const auto field = [](std::uint32_t value, int size) {
        std::string bytes;
        for (int i = 0; i < size; ++i) {
            bytes += static_cast<char>((value >> (8 * i)) & 0xFF);
        }
        return bytes;
    };
    const auto size = static_cast<std::uint32_t>(pcm.size());
    return "RIFF" + field(36 + size, 4) + "WAVEfmt " + field(16, 4) + field(1, 2) +
           field(channels, 2) + field(rate, 4) + field(rate * channels * 2, 4) +
           field(channels * 2u, 2) + field(16, 2) + "data" + field(size, 4) + pcm;
}

// 48 kHz stereo: the speech of a 16 kHz mono WAV at the start, then silence up to `bytes`.
std::string largeRecording(const std::string& speech, std::size_t bytes)
{
    std::string pcm(bytes, '\0');
    for (std::size_t i = 0; 44 + i * 2 + 2 <= speech.size() && (i + 1) * 12 <= bytes; ++i) {
        for (std::size_t copy = 0; copy < 6; ++copy) {
            pcm.replace((i * 6 + copy) * 2, 2, speech, 44 + i * 2, 2);
        }
    }
    return wavFile(pcm, 48000, 2);
}

// Three seconds of loud, pulsing hiss at 16 kHz.
std::string hiss()
{
    std::string pcm;
    for (std::size_t i = 0; i < 48000; ++i) {
        const auto sample = static_cast<std::int16_t>((static_cast<int>(i * 7919 % 4001) - 2000) *
                                                      (i % 3200 < 1600 ? 8 : 1));
        pcm += static_cast<char>(sample & 0xFF);
        pcm += static_cast<char>((sample >> 8) & 0xFF);
    }
    return wavFile(pcm, 16000, 1);
}

// The highest resident size seen while `work` runs, sampled every 20 ms, in MB.
template<typename Work>
double peakDuring(const RunningServer& server, Work work)
{
    std::atomic<bool> done = false;
    double peak = 0;
    std::thread sampler([&] {
        while (!done) {
            peak = std::max(peak, server.memory("VmRSS"));
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
    });
    work();
    done = true;
    sampler.join();
    return peak;
}

void waitForRest(const RunningServer& server, int unloadAfterSeconds)
{
    std::this_thread::sleep_for(std::chrono::seconds(unloadAfterSeconds + 2));
    std::printf("resident at rest, decoders let go: %.1f MB\n", server.memory("VmRSS"));
}

} // namespace

int main(int argc, char** argv)
{
    int unloadAfter = 20;
    std::filesystem::path data = SpeechCorpus::defaultDirectory();
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string flag = argv[i];
        if (flag == "--unload-after") {
            unloadAfter = std::stoi(argv[i + 1]);
        } else if (flag == "--data") {
            data = argv[i + 1];
        }
    }
    const SpeechCorpus corpus(data);
    // The shortest recording is most like a dictation.
    std::string speech;
    for (const auto& [id, reference] : corpus.references()) {
        if (const std::string recording = corpus.recording(id);
            speech.empty() || recording.size() < speech.size()) {
            speech = recording;
        }
    }

    RunningServer server(unloadAfter);
    const Reply registration = post(server.port(), "/api/register", R"({"device":"BENCH"})", {});
    const std::string token = registration.body.value("token", std::string());
    std::printf("resident after start, one decoder loaded: %.1f MB\n", server.memory("VmRSS"));

    // Recordings of several people, each after a burst of hiss from someone else.
    std::size_t errors = 0;
    std::size_t words = 0;
    const std::string noise = dictation(hiss());
    for (const auto& [id, reference] : corpus.references()) {
        post(server.port(), "/api/dictate", noise, token);
        const auto [wrong, total] = SpeechCorpus::wordErrors(
            reference,
            rawOf(post(server.port(), "/api/dictate", dictation(corpus.recording(id)), token)));
        errors += wrong;
        words += total;
    }
    std::printf("word error rate through the server: %.1f %% (%zu errors in %zu words)\n",
                100.0 * errors / words, errors, words);

    // Timing on a shared machine is noisy: three pauses, each followed by two dictations.
    const std::string body = dictation(speech);
    for (int round = 0; round < 3; ++round) {
        waitForRest(server, unloadAfter);
        const Reply cold = post(server.port(), "/api/dictate", body, token);
        const Reply warm = post(server.port(), "/api/dictate", body, token);
        std::printf("first %.1f s dictation after a pause: %.2f s (status %d); the next one: "
                    "%.2f s\n",
                    (speech.size() - 44) / 32000.0, cold.seconds, cold.status, warm.seconds);
    }

    waitForRest(server, unloadAfter);
    const std::string large = dictation(largeRecording(speech, 36 * 1024 * 1024 + 512 * 1024));
    for (const bool authorised : {false, true}) {
        server.resetPeak();
        std::atomic<int> answered = 0;
        const double sampled = peakDuring(server, [&] {
            std::vector<std::thread> clients;
            for (int i = 0; i < 4; ++i) {
                clients.emplace_back([&] {
                    answered += post(server.port(), "/api/dictate", large,
                                     authorised ? token : std::string())
                                    .status != 0;
                });
            }
            for (auto& client : clients) {
                client.join();
            }
        });
        std::printf("four concurrent %.1f MB %s dictations: peak resident %.1f MB (sampled "
                    "%.1f MB), %d answered\n",
                    large.size() / 1048576.0, authorised ? "authorised" : "unauthorised",
                    server.memory("VmHWM"), sampled, answered.load());
    }
    waitForRest(server, unloadAfter);
    return 0;
}
