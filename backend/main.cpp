#include <csignal>
#include <iostream>
#include <malloc.h>
#include <pthread.h>
#include <thread>

extern "C" {
#include <libavutil/log.h>
}

#include "AudioDecoder.h"
#include "BackendOptions.h"
#include "BackendServer.h"
#include "BackendStore.h"
#include "ChatFeedbackWriter.h"
#include "EnginePool.h"
#include "KeyFile.h"
#include "PocketSphinxEngine.h"
#include "RuleFeedbackWriter.h"
#include "Upstream.h"
#include "UpstreamSpeechEngine.h"

namespace {

constexpr std::chrono::minutes maxRecording{10};
// Request bodies, recordings and speech models are large and come and go. Mapped one by one, each
// goes back to the system as it is freed instead of staying in the heap of the thread that used it.
constexpr int separateMappingFrom = 1024 * 1024;

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

std::unique_ptr<Upstream> makeUpstream(std::string name, const std::string& url,
                                       const std::filesystem::path& keyFile, int timeoutSeconds)
{
    return std::make_unique<Upstream>(
        std::move(name), Upstream::Settings{url, keyFile.empty() ? "" : KeyFile::read(keyFile),
                                            std::chrono::seconds(timeoutSeconds)});
}

// The engines and writer murmo-backend works with, as the options choose them.
struct Services
{
    std::unique_ptr<Upstream> transcription;
    std::unique_ptr<Upstream> languageModel;
    std::unique_ptr<EnginePool> engines;
    RuleFeedbackWriter rules;
    std::unique_ptr<ChatFeedbackWriter> chat;

    FeedbackWriter& writer() { return chat ? static_cast<FeedbackWriter&>(*chat) : rules; }
};

void makeEngines(const BackendOptions& options, Services& services)
{
    const EnginePool::Settings settings{static_cast<std::size_t>(options.workers),
                                        std::chrono::seconds(options.unloadAfterSeconds)};
    if (options.engine == "openai") {
        services.transcription =
            makeUpstream("the transcription service", options.upstream, options.upstreamKeyFile,
                         options.upstreamTimeoutSeconds);
        services.engines = std::make_unique<EnginePool>(
            [&upstream = *services.transcription, model = options.upstreamModel] {
                return std::make_unique<UpstreamSpeechEngine>(upstream, model);
            },
            settings);
        std::clog << "murmo-backend: speech goes to "
                  << services.transcription->address("audio/transcriptions") << " (model "
                  << options.upstreamModel << ")" << std::endl;
        return;
    }
    services.engines = std::make_unique<EnginePool>(
        [model = options.model] { return std::make_unique<PocketSphinxEngine>(model); }, settings);
    // One decoder now proves the model usable before the server says it is ready.
    services.engines->preload();
}

void makeWriter(const BackendOptions& options, Services& services)
{
    if (options.writer != "openai") {
        return;
    }
    services.languageModel = makeUpstream("the language model", options.writerUpstream,
                                          options.writerKeyFile, options.writerTimeoutSeconds);
    services.chat = std::make_unique<ChatFeedbackWriter>(*services.languageModel,
                                                         options.writerModel, services.rules);
    std::clog << "murmo-backend: insights and recaps by "
              << services.languageModel->address("chat/completions") << " (model "
              << options.writerModel << ")" << std::endl;
}

BackendServer::Settings serverSettings(const BackendOptions& options)
{
    BackendServer::Settings settings;
    settings.invites = {options.inviteLimit, options.recipientLimit};
    settings.registrationsPerAddressPerHour = options.registrationLimit;
    settings.logRequests = true;
    return settings;
}

int run(const BackendOptions& options)
{
    const sigset_t signals = stopSignals();
    pthread_sigmask(SIG_BLOCK, &signals, nullptr);
    // Undecodable uploads are answered with 400; FFmpeg need not describe them on the console.
    av_log_set_level(AV_LOG_QUIET);
    try {
        Services services;
        makeEngines(options, services);
        makeWriter(options, services);
        BackendStore store(options.database);
        const AudioDecoder decoder(maxRecording);
        BackendServer server(store, *services.engines, services.writer(), decoder,
                             serverSettings(options));
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
    mallopt(M_MMAP_THRESHOLD, separateMappingFrom);
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
    if (options.version) {
        std::cout << "murmo-backend " MURMO_VERSION "\n";
        return 0;
    }
    return run(options);
}
