// Real-time factor and word error rate of the backend's recogniser on recorded speech with
// reference transcripts (by default Debian's LibriVox test fixtures). Prints figures; asserts
// nothing.
//
// Usage: backend_transcription_bench [--data DIR] [--model DIR] [-- decoder options...]
//   e.g. backend_transcription_bench -- -beam 1e-40 -pbeam 1e-40 -wbeam 1e-30

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <map>
#include <sstream>

#include "AudioDecoder.h"
#include "BackendOptions.h"
#include "PocketSphinxEngine.h"
#include "TextAnalysis.h"

namespace {

using Clock = std::chrono::steady_clock;

struct Settings
{
    std::filesystem::path data = "/usr/share/pocketsphinx/test/data/librivox";
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

// "<s> words </s> (id)" lines of a sphinx transcription file, by id.
std::map<std::string, std::string> references(const std::filesystem::path& file)
{
    std::map<std::string, std::string> result;
    std::ifstream in(file);
    for (std::string line; std::getline(in, line);) {
        const auto open = line.rfind('(');
        if (open == std::string::npos) {
            continue;
        }
        const std::string id = line.substr(open + 1, line.rfind(')') - open - 1);
        std::string text = line.substr(0, open);
        for (const std::string_view marker : {"<s>", "</s>"}) {
            for (auto at = text.find(marker); at != std::string::npos; at = text.find(marker)) {
                text.erase(at, marker.size());
            }
        }
        result[id] = text;
    }
    return result;
}

std::size_t editDistance(const std::vector<std::string>& a, const std::vector<std::string>& b)
{
    std::vector<std::size_t> row(b.size() + 1);
    for (std::size_t j = 0; j <= b.size(); ++j) {
        row[j] = j;
    }
    for (std::size_t i = 1; i <= a.size(); ++i) {
        std::size_t diagonal = row[0];
        row[0] = i;
        for (std::size_t j = 1; j <= b.size(); ++j) {
            const std::size_t above = row[j];
            row[j] =
                std::min({row[j] + 1, row[j - 1] + 1, diagonal + (a[i - 1] == b[j - 1] ? 0 : 1)});
            diagonal = above;
        }
    }
    return row[b.size()];
}

std::string readFile(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
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
    for (const auto& [id, reference] : references(settings.data / "transcription")) {
        const auto start = Clock::now();
        const auto decoded = decoder.decode(readFile(settings.data / (id + ".wav")));
        const auto* samples = std::get_if<AudioDecoder::Samples>(&decoded);
        if (!samples) {
            std::printf("%s: cannot decode\n", id.c_str());
            continue;
        }
        const std::string hypothesis = engine.transcribe(*samples);
        const double work = seconds(Clock::now() - start);
        const double audio = double(samples->size()) / AudioDecoder::sampleRate;
        const auto expected = TextAnalysis::words(reference);
        const std::size_t wrong = editDistance(expected, TextAnalysis::words(hypothesis));
        std::printf("%s: %.2f s audio, RTF %.3f, WER %.1f %% (%zu/%zu)\n  heard: %s\n", id.c_str(),
                    audio, work / audio, 100.0 * wrong / expected.size(), wrong, expected.size(),
                    hypothesis.c_str());
        audioSeconds += audio;
        workSeconds += work;
        errors += wrong;
        referenceWords += expected.size();
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
