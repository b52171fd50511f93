#pragma once

#include <QString>
#include <QUuid>

#include <optional>

// One dictation record, shared with other devices through the history document. Time points
// are seconds since 2001-01-01 00:00:00 UTC, kept as the document's numbers so that they
// survive a round trip bit for bit.
struct HistoryItem
{
    QUuid id;
    QString text;
    QString raw;
    double createdAt = 0;
    std::optional<QString> category;
    std::optional<QString> translatedTo;
    std::optional<double> sentAt;
    std::optional<QString> sentVia;
    std::optional<double> durationSec;
    std::optional<QString> device;

    bool operator==(const HistoryItem&) const = default;
};
