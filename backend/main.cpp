#include <csignal>
#include <iostream>
#include <pthread.h>
#include <thread>

extern "C" {
#include <libavutil/log.h>
}

#include "AudioDecoder.h"
#include "BackendOptions.h"
#include "BackendServer.h"
#include "BackendStore.h"
#include "EnginePool.h"
#include "PocketSphinxEngine.h"

namespace {

constexpr std::chrono::minutes maxRecording{10};

int fail(const std::string& message)
{
    std::cerr << "murmo-backend: " << message << '\n';
    return 1;
}

std::string hostForUrl(const std::string& address)
{
    return address.find(':') == std::string::npos ? address : "[" + address + "]";
}

sigset_t stopSignals()
{
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGINT);
    sigaddset(&signals, SIGTERM);
    return signals;
}

// SIGINT and SIGTERM are blocked everywhere and taken by this one thread, which stops the server
// so that the database is closed cleanly.
std::thread stopOnSignal(BackendServer& server)
{
    return std::thread([&server] {
        const sigset_t signals = stopSignals();
        int signal = 0;
        sigwait(&signals, &signal);
        server.stop();
    });
}

std::unique_ptr<EnginePool> loadEngines(const BackendOptions& options)
{
    std::vector<std::unique_ptr<SpeechEngine>> engines;
    for (int i = 0; i < options.workers; ++i) {
        engines.push_back(std::make_unique<PocketSphinxEngine>(options.model));
    }
    return std::make_unique<EnginePool>(std::move(engines));
}

int run(const BackendOptions& options)
{
    const sigset_t signals = stopSignals();
    pthread_sigmask(SIG_BLOCK, &signals, nullptr);
    // Undecodable uploads are answered with 400; FFmpeg need not describe them on the console.
    av_log_set_level(AV_LOG_QUIET);
    try {
        BackendStore store(options.database);
        const auto engines = loadEngines(options);
        const AudioDecoder decoder(maxRecording);
        BackendServer server(
            store, *engines, decoder,
            {static_cast<std::size_t>(options.workers), options.inviteLimit, true});
        const int port = server.bind(options.address, options.port);
        if (port < 0) {
            return fail("cannot listen on " + options.address + ":" + std::to_string(options.port));
        }
        std::cout << "murmo-backend listening on http://" << hostForUrl(options.address) << ':'
                  << port << std::endl;
        std::thread stopper = stopOnSignal(server);
        const bool served = server.serve();
        // Wakes the signal thread when serving ended for another reason.
        pthread_kill(stopper.native_handle(), SIGTERM);
        stopper.join();
        return served ? 0 : fail("the server stopped unexpectedly");
    } catch (const std::exception& error) {
        return fail(error.what());
    }
}

} // namespace

int main(int argc, char** argv)
{
    const auto parsed = BackendOptions::parse(std::vector<std::string>(argv + 1, argv + argc));
    if (const auto* error = std::get_if<std::string>(&parsed)) {
        std::cerr << "murmo-backend: " << *error << "\nTry murmo-backend --help.\n";
        return 2;
    }
    const auto& options = std::get<BackendOptions>(parsed);
    if (options.help) {
        std::cout << BackendOptions::usage();
        return 0;
    }
    return run(options);
}
