#pragma once

#include <filesystem>
#include <map>
#include <string>

// Recorded speech with reference transcripts, laid out as the recogniser's test data is (by default
// Debian's LibriVox fixtures): ID.wav files and a "transcription" file of "<s> words </s> (ID)".
class SpeechCorpus
{
public:
    static std::filesystem::path defaultDirectory();

    explicit SpeechCorpus(std::filesystem::path directory);

    // Reference words by recording id, sorted by id.
    const std::map<std::string, std::string>& references() const { return m_references; }
    std::string recording(const std::string& id) const;
    // Words substituted, inserted or deleted to turn the reference into the hypothesis, and the
    // number of reference words: the word error rate is their ratio.
    static std::pair<std::size_t, std::size_t> wordErrors(const std::string& reference,
                                                          const std::string& hypothesis);
    static std::string readFile(const std::filesystem::path& path);

private:
    std::filesystem::path m_directory;
    std::map<std::string, std::string> m_references;
};
