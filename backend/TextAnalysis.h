#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

// Word-level views of dictated text shared by the insights and the recap.
class TextAnalysis
{
public:
    using WordCount = std::pair<std::string, std::size_t>;

    // Lower-cased words: runs of letters and digits of any script, with apostrophes allowed
    // inside.
    static std::vector<std::string> words(std::string_view text);
    // Each sentence as its words; ".", "!", "?" and line breaks end a sentence, and so does the end
    // of the text. Sentences without words are left out.
    static std::vector<std::vector<std::string>> sentences(std::string_view text);
    // A word of more than one letter that is not a function word or one of the commonest verbs,
    // English or Russian.
    static bool isContentWord(std::string_view word);
    // The most frequent words that are not stop words, over all texts, at least minCount each;
    // higher counts first, equal counts alphabetically.
    static std::vector<WordCount> topContentWords(const std::vector<std::string>& texts,
                                                  std::size_t limit, std::size_t minCount);
};
