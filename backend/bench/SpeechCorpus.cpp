#include "SpeechCorpus.h"

#include <algorithm>
#include <fstream>
#include <sstream>
#include <vector>

#include "TextAnalysis.h"

namespace {

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

} // namespace

std::filesystem::path SpeechCorpus::defaultDirectory()
{
    return "/usr/share/pocketsphinx/test/data/librivox";
}

SpeechCorpus::SpeechCorpus(std::filesystem::path directory)
    : m_directory(std::move(directory))
{
    std::ifstream in(m_directory / "transcription");
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
        m_references[id] = text;
    }
}

std::string SpeechCorpus::recording(const std::string& id) const
{
    return readFile(m_directory / (id + ".wav"));
}

std::pair<std::size_t, std::size_t> SpeechCorpus::wordErrors(const std::string& reference,
                                                             const std::string& hypothesis)
{
    const auto expected = TextAnalysis::words(reference);
    return {editDistance(expected, TextAnalysis::words(hypothesis)), expected.size()};
}

std::string SpeechCorpus::readFile(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}
