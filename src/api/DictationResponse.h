#pragma once

#include <QString>

#include <optional>

// The backend's answer to a dictation.
struct DictationResponse
{
    QString text;                    // cleaned-up text to insert
    QString raw;                     // the raw transcript
    std::optional<QString> original; // accepted, not used further
    std::optional<QString> category;

    bool operator==(const DictationResponse&) const = default;
};
