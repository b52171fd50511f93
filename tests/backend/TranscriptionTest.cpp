#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>

#include "BackendOptions.h"
#include "Base64.h"
#include "PocketSphinxEngine.h"
#include "ServerHarness.h"
#include "TempDirectory.h"
#include "TextAnalysis.h"

namespace {

using Json = nlohmann::json;

std::string readFile(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

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
    const std::string m4aBytes = readFile(m4a);
    ASSERT_GT(m4aBytes.find("moov"), m4aBytes.find("mdat"));

    for (const auto& [file, ext] : {std::pair{wav, "wav"}, {m4a, "m4a"}}) {
        const auto reply = server.post(
            "/api/dictate", Json{{"audio", Base64::encode(readFile(file))}, {"ext", ext}}, token);
        ASSERT_EQ(reply.status, 200) << ext;
        const std::string text = reply.body["text"];
        const auto words = TextAnalysis::words(text);
        for (const char* expected : {"design", "looks", "great", "colors", "contrast"}) {
            EXPECT_NE(std::ranges::find(words, expected), words.end())
                << ext << ": \"" << expected << "\" missing from \"" << text << "\"";
        }
        EXPECT_TRUE(std::isupper(static_cast<unsigned char>(text.front())) && text.ends_with('.'))
            << text;
    }
}

} // namespace
