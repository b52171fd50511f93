#pragma once

#include <QString>

// A word (or filler expression) and how often it occurred.
struct WordCount
{
    QString word;
    qint64 count = 0;

    bool operator==(const WordCount&) const = default;
};
