#pragma once

#include <QList>
#include <QStringView>

// Where one word stands in a text, in UTF-16 code units.
struct TextSpan
{
    qsizetype start = 0;
    qsizetype length = 0;

    bool operator==(const TextSpan&) const = default;
};

// Splits text into words the way the statistics count them: every word and every number is one,
// punctuation, symbols and white space are none. Safe to use from any thread.
class WordTokenizer
{
public:
    virtual ~WordTokenizer() = default;
    virtual QList<TextSpan> words(QStringView text) const = 0;
};
