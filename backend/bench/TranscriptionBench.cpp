// Real-time factor and word error rate of the backend's recogniser on recorded speech with
// reference transcripts (by default Debian's LibriVox test fixtures). Prints figures; asserts
// nothing.
//
// Usage: backend_transcription_bench [--data DIR] [--model DIR] [-- decoder options...]
//   e.g. backend_transcription_bench -- -beam 1e-40 -pbeam 1e-40 -wbeam 1e-30

#include <chrono>
#include <cstdio>

#include "AudioDecoder.h"
#include "BackendOptions.h"
#include "PocketSphinxEngine.h"
#include "SpeechCorpus.h"

namespace {

using Clock = std::chrono::steady_clock;

struct Settings
{
    std::filesystem::path data = SpeechCorpus::defaultDirectory();
    std::filesystem::path model = BackendOptions::defaultModel();
    std::vector<std::string> decoderOptions;
};

Settings parse(int argc, char** argv)
{
    Settings settings;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument == "--") {
            settings.decoderOptions.assign(argv + i + 1, argv + argc);
            break;
        }
        if (i + 1 < argc && argument == "--data") {
            settings.data = argv[++i];
        } else if (i + 1 < argc && argument == "--model") {
            settings.model = argv[++i];
        }
    }
    return settings;
}

double seconds(Clock::duration d)
{
    return std::chrono::duration<double>(d).count();
}

} // namespace

int main(int argc, char** argv)
{
    const Settings settings = parse(argc, argv);
    const auto loadStart = Clock::now();
    PocketSphinxEngine engine(settings.model, settings.decoderOptions);
    std::printf("model loaded in %.2f s\n", seconds(Clock::now() - loadStart));
    const AudioDecoder decoder(std::chrono::minutes(10));
    double audioSeconds = 0;
    double workSeconds = 0;
    std::size_t errors = 0;
    std::size_t referenceWords = 0;
    const SpeechCorpus corpus(settings.data);
    for (const auto& [id, reference] : corpus.references()) {
        const auto start = Clock::now();
        const auto decoded = decoder.decode(corpus.recording(id));
        const auto* samples = std::get_if<AudioDecoder::Samples>(&decoded);
        if (!samples) {
            std::printf("%s: cannot decode\n", id.c_str());
            continue;
        }
        const std::string hypothesis = engine.transcribe({*samples, std::nullopt, std::nullopt});
        const double work = seconds(Clock::now() - start);
        const double audio = double(samples->size()) / AudioDecoder::sampleRate;
        const auto [wrong, words] = SpeechCorpus::wordErrors(reference, hypothesis);
        std::printf("%s: %.2f s audio, RTF %.3f, WER %.1f %% (%zu/%zu)\n  heard: %s\n", id.c_str(),
                    audio, work / audio, 100.0 * wrong / words, wrong, words, hypothesis.c_str());
        audioSeconds += audio;
        workSeconds += work;
        errors += wrong;
        referenceWords += words;
    }
    if (referenceWords == 0) {
        std::printf("no fixtures found under %s\n", settings.data.c_str());
        return 1;
    }
    std::printf("total: %.2f s audio in %.2f s: real-time factor %.3f (target <= 0.3)\n",
                audioSeconds, workSeconds, workSeconds / audioSeconds);
    std::printf("total: word error rate %.1f %% (%zu errors in %zu words, target <= 30 %%)\n",
                100.0 * errors / referenceWords, errors, referenceWords);
    return 0;
}
