#include <algorithm>
#include <cstdlib>
#include <gtest/gtest.h>

#include "BackendOptions.h"
#include "Base64.h"
#include "EnginePool.h"
#include "FileBytes.h"
#include "PocketSphinxEngine.h"
#include "ServerHarness.h"
#include "TempDirectory.h"
#include "TextAnalysis.h"
#include "WavFile.h"

namespace {

using Json = nlohmann::json;

void run(const std::string& command)
{
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
}

// Real speech through the real recogniser: a synthetic voice reads a sentence, sent once as the
// WAV fallback and once as AAC in an MPEG-4 file like the recorder's.
TEST(TranscriptionTest, SpokenSentenceComesBackAsTextFromWavAndM4a)
{
    PocketSphinxEngine engine(BackendOptions::defaultModel());
    ServerHarness server(engine);
    const std::string token = server.registerDevice("DEVICE-A");
    TempDirectory directory;
    const auto wav = directory.path() / "speech.wav";
    const auto m4a = directory.path() / "speech.m4a";
    run("flite -voice slt -t 'The new design looks great but the colors need more contrast.' -o " +
        wav.string());
    // One-pass MPEG-4, as the recorder writes it: the index comes after the audio.
    run("ffmpeg -nostdin -loglevel error -i " + wav.string() +
        " -ac 1 -ar 16000 -c:a aac -b:a 32k -f ipod " + m4a.string());
    const std::string m4aBytes = fileBytes(m4a);
    ASSERT_GT(m4aBytes.find("moov"), m4aBytes.find("mdat"));

    for (const auto& [file, ext] : {std::pair{wav, "wav"}, {m4a, "m4a"}}) {
        Json body = {{"audio", Base64::encode(fileBytes(file))}, {"ext", ext}};
        if (ext == std::string("wav")) {
            body["lang"] = "en";
        }
        const auto reply = server.post("/api/dictate", body, token);
        ASSERT_EQ(reply.status, 200) << ext;
        const std::string text = reply.text("text");
        const auto words = TextAnalysis::words(text);
        for (const char* expected : {"design", "looks", "great", "colors", "contrast"}) {
            EXPECT_NE(std::ranges::find(words, expected), words.end())
                << ext << ": \"" << expected << "\" missing from \"" << text << "\"";
        }
        EXPECT_TRUE(std::isupper(static_cast<unsigned char>(text.front())) && text.ends_with('.'))
            << text;
    }
    // Heard as English, Russian would come back as nonsense: the client is told why instead.
    const auto russian = server.post(
        "/api/dictate",
        Json{{"audio", Base64::encode(fileBytes(wav))}, {"ext", "wav"}, {"lang", "ru"}}, token);
    EXPECT_EQ(russian.status, 400);
    EXPECT_NE(russian.text("error").find("English only"), std::string::npos) << russian.body;
    EXPECT_NE(russian.text("error").find("--engine openai"), std::string::npos) << russian.body;
}

// Recordings of a person reading, shipped with the recogniser's test data.
const std::filesystem::path librivox = "/usr/share/pocketsphinx/test/data/librivox";

// Three seconds of loud, pulsing hiss.
std::string hiss()
{
    std::vector<std::int16_t> samples(3 * AudioDecoder::sampleRate);
    for (std::size_t i = 0; i < samples.size(); ++i) {
        samples[i] = static_cast<std::int16_t>((static_cast<int>(i * 7919 % 4001) - 2000) *
                                               (i % 3200 < 1600 ? 8 : 1));
    }
    return WavFile::make(samples, AudioDecoder::sampleRate, 1);
}

// The recogniser adapts to what it hears; one person's audio must not shape another's text.
TEST(TranscriptionTest, ARecordingGivesTheSameTextWhateverCameBefore)
{
    EnginePool engines(
        [] { return std::make_unique<PocketSphinxEngine>(BackendOptions::defaultModel()); },
        {1, std::chrono::minutes(5)});
    ServerHarness server(engines);
    const std::string token = server.registerDevice("DEVICE-A");
    const auto dictate = [&](const std::string& wav) {
        return server.post("/api/dictate", Json{{"audio", Base64::encode(wav)}, {"ext", "wav"}},
                           token);
    };
    const std::string speech =
        fileBytes(librivox / "sense_and_sensibility_01_austen_64kb-0870.wav");
    const auto before = dictate(speech);
    ASSERT_EQ(before.status, 200);
    dictate(hiss());
    EXPECT_EQ(dictate(speech).text("raw"), before.text("raw"));
}

} // namespace
