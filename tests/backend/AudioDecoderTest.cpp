#include <algorithm>
#include <gtest/gtest.h>

#include "AudioDecoder.h"
#include "WavFile.h"

namespace {

using Samples = AudioDecoder::Samples;

TEST(AudioDecoderTest, WavOfAnyRateAndLayoutBecomes16kHzMono)
{
    const AudioDecoder decoder(std::chrono::seconds(10));
    for (const auto& [rate, channels] : {std::pair{16000, 1}, {8000, 2}, {44100, 2}, {48000, 1}}) {
        const auto decoded = decoder.decode(WavFile::tone(2.0, rate, channels));
        ASSERT_TRUE(std::holds_alternative<Samples>(decoded)) << rate << "/" << channels;
        const auto& samples = std::get<Samples>(decoded);
        EXPECT_NEAR(static_cast<double>(samples.size()), 32000.0, 64.0) << rate << "/" << channels;
        EXPECT_GT(*std::ranges::max_element(samples), 4000) << "the tone must survive";
    }
    // A well-formed file with no audio in it is silence, not an error.
    EXPECT_EQ(std::get<Samples>(decoder.decode(WavFile::make({}, 16000, 1))).size(), 0u);
}

TEST(AudioDecoderTest, GarbageAndOverlongAudioAreRefused)
{
    const AudioDecoder decoder(std::chrono::seconds(3));
    const std::string wav = WavFile::tone(1.0, 16000, 1);
    std::string badHeader = wav;
    badHeader.replace(20, 2, "\x55\x55"); // an unknown sample encoding
    for (const std::string& garbage :
         {std::string(), std::string("RIFF"), wav.substr(0, 40), std::string(1000, '\xFF'),
          std::string("\0\0\0\x20"
                      "ftypM4A ",
                      12) +
              std::string(500, '\0'),
          badHeader, std::string("ID3\x03\0\0\0\0\0\0", 10) + std::string(3000, '\x55')}) {
        const auto decoded = decoder.decode(garbage);
        ASSERT_TRUE(std::holds_alternative<AudioDecoder::Error>(decoded)) << garbage.size();
        EXPECT_EQ(std::get<AudioDecoder::Error>(decoded), AudioDecoder::Error::undecodable);
    }
    const auto overlong = decoder.decode(WavFile::tone(3.5, 48000, 2));
    ASSERT_TRUE(std::holds_alternative<AudioDecoder::Error>(overlong));
    EXPECT_EQ(std::get<AudioDecoder::Error>(overlong), AudioDecoder::Error::tooLong);
    EXPECT_TRUE(std::holds_alternative<Samples>(decoder.decode(WavFile::tone(2.9, 16000, 1))));
}

} // namespace
