// What murmo-backend adds in front of an OpenAI-compatible transcription server: a 30 s dictation
// sent through the real server to a scripted upstream that answers at once, as AAC in MPEG-4 (as
// the recorder sends it) and as WAV. Prints the median and slowest whole request and the median of
// each step in-process; asserts nothing.
//
// Usage: backend_upstream_bench [--rounds N] [--data DIR]

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <httplib.h>
#include <nlohmann/json.hpp>
#include <thread>

#include "AudioDecoder.h"
#include "BackendServer.h"
#include "BackendStore.h"
#include "Base64.h"
#include "RequestBody.h"
#include "RuleFeedbackWriter.h"
#include "SpeechCorpus.h"
#include "TranscriptCategorizer.h"
#include "TranscriptCleaner.h"
#include "Upstream.h"
#include "UpstreamSpeechEngine.h"
#include "WavEncoder.h"

namespace {

using Clock = std::chrono::steady_clock;
using Json = nlohmann::json;

constexpr double recordingSeconds = 30;
// About what a person says in 30 s.
const std::string transcript =
    "So I looked at the numbers for the third quarter and they are better than we expected, the "
    "new pricing works and churn is down, but the onboarding emails still lose people in the "
    "first week, so let's talk about that on Monday with Anna and the design team and decide "
    "what we change before the launch.";

double milliseconds(Clock::duration d)
{
    return std::chrono::duration<double, std::milli>(d).count();
}

// Median and maximum of `rounds` runs of `work`, in ms.
std::pair<double, double> timed(int rounds, const std::function<void()>& work)
{
    std::vector<double> times;
    for (int i = 0; i < rounds; ++i) {
        const auto start = Clock::now();
        work();
        times.push_back(milliseconds(Clock::now() - start));
    }
    std::ranges::sort(times);
    return {times[times.size() / 2], times.back()};
}

// 30 s of recorded speech: the corpus's recordings one after another, 16 kHz mono.
AudioDecoder::Samples speech(const SpeechCorpus& corpus, const AudioDecoder& decoder)
{
    AudioDecoder::Samples samples;
    const auto wanted = static_cast<std::size_t>(recordingSeconds * AudioDecoder::sampleRate);
    while (samples.size() < wanted) {
        for (const auto& [id, words] : corpus.references()) {
            const auto decoded = decoder.decode(corpus.recording(id));
            const auto& part = std::get<AudioDecoder::Samples>(decoded);
            samples.insert(samples.end(), part.begin(), part.end());
        }
    }
    samples.resize(wanted);
    return samples;
}

// The recorder's format: AAC at 32 kbit/s in an MPEG-4 file, by the ffmpeg tool.
std::string m4aOf(const std::string& wav)
{
    char directory[] = "/tmp/murmo-upstream-bench-XXXXXX";
    const std::string base = mkdtemp(directory);
    {
        std::FILE* file = std::fopen((base + "/in.wav").c_str(), "wb");
        std::fwrite(wav.data(), 1, wav.size(), file);
        std::fclose(file);
    }
    const std::string command = "ffmpeg -nostdin -loglevel error -i " + base +
                                "/in.wav -c:a aac -b:a 32k -f ipod " + base + "/out.m4a";
    const bool made = std::system(command.c_str()) == 0;
    const std::string m4a = made ? SpeechCorpus::readFile(base + "/out.m4a") : std::string();
    std::filesystem::remove_all(base);
    return m4a;
}

struct Settings
{
    int rounds = 30;
    std::filesystem::path data = SpeechCorpus::defaultDirectory();
};

Settings parse(int argc, char** argv)
{
    Settings settings;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string argument = argv[i];
        if (argument == "--rounds") {
            settings.rounds = std::max(1, std::atoi(argv[i + 1]));
        } else if (argument == "--data") {
            settings.data = argv[i + 1];
        }
    }
    return settings;
}

} // namespace

int main(int argc, char** argv)
{
    const Settings settings = parse(argc, argv);
    httplib::Server scripted;
    scripted.Post("/v1/audio/transcriptions", [](const httplib::Request&, httplib::Response& r) {
        r.set_content(Json{{"text", transcript}}.dump(), "application/json");
    });
    const int upstreamPort = scripted.bind_to_any_port("127.0.0.1");
    std::thread upstreamThread([&] { scripted.listen_after_bind(); });

    const AudioDecoder decoder(std::chrono::minutes(10));
    const AudioDecoder::Samples samples = speech(SpeechCorpus(settings.data), decoder);
    const std::string wav = WavEncoder::encode(samples, AudioDecoder::sampleRate);
    const std::string m4a = m4aOf(wav);

    const Upstream upstream(
        "the transcription service",
        {"http://127.0.0.1:" + std::to_string(upstreamPort), "sk-bench", std::chrono::seconds(30)});
    UpstreamSpeechEngine engine(upstream, "whisper-1");
    char directory[] = "/tmp/murmo-upstream-bench-db-XXXXXX";
    const std::string databaseDirectory = mkdtemp(directory);
    BackendStore store(databaseDirectory + "/backend.sqlite3");
    RuleFeedbackWriter writer;
    BackendServer server(store, engine, writer, decoder, {});
    const int port = server.bind("127.0.0.1", 0);
    std::thread serverThread([&] { server.serve(); });
    const std::string token = *store.registerDevice("BENCH", "127.0.0.1", 100);

    std::printf("30 s dictation, scripted upstream answering at once, %d rounds\n",
                settings.rounds);
    for (const auto& [ext, file] : {std::pair{"m4a", &m4a}, {"wav", &wav}}) {
        const std::string body =
            Json{{"audio", Base64::encode(*file)}, {"ext", ext}, {"lang", "en"}}.dump();
        int status = 0;
        const auto [median, slowest] = timed(settings.rounds, [&] {
            httplib::Client client("127.0.0.1", port);
            client.set_read_timeout(std::chrono::seconds(60));
            const auto result = client.Post("/api/dictate", {{"Authorization", "Bearer " + token}},
                                            body, "application/json");
            status = result ? result->status : 0;
        });
        std::printf("  %s (%.0f kB request): whole request %.1f ms median, %.1f ms slowest "
                    "(status %d)\n",
                    ext, body.size() / 1024.0, median, slowest, status);
        const auto [parse, parseMax] = timed(settings.rounds, [&] {
            const RequestBody parsed = RequestBody::parse(body);
            Base64::decode(parsed.text("audio"));
        });
        const auto [decode, decodeMax] = timed(settings.rounds, [&] { decoder.decode(*file); });
        std::printf("    parse + Base64 %.1f ms, decode + resample %.1f ms\n", parse, decode);
    }
    const auto [encode, encodeMax] =
        timed(settings.rounds, [&] { WavEncoder::encode(samples, AudioDecoder::sampleRate); });
    const auto [upload, uploadMax] = timed(settings.rounds, [&] {
        engine.transcribe(Speech{samples, "en", std::nullopt});
    });
    const auto [clean, cleanMax] = timed(settings.rounds, [&] {
        const std::string text = TranscriptCleaner::clean(TranscriptCleaner::raw(transcript));
        TranscriptCategorizer::categorize(text);
    });
    std::printf("  steps: WAV %.1f ms, WAV + multipart + upstream round trip %.1f ms, clean-up "
                "%.2f ms\n",
                encode, upload, clean);

    server.stop();
    serverThread.join();
    scripted.stop();
    upstreamThread.join();
    std::filesystem::remove_all(databaseDirectory);
    return 0;
}
