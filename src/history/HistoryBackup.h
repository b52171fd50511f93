#pragma once

#include "history/HistoryItem.h"

#include <QList>
#include <QUuid>

// The history document: what the history file holds and what the cloud record carries.
struct HistoryBackup
{
    static constexpr qint64 currentVersion = 2;

    qint64 version = currentVersion; // read but not checked
    double exportedAt = 0;           // seconds since 2001-01-01 00:00:00 UTC
    QList<HistoryItem> history;      // newest first
    QList<QUuid> deleted;            // ids of records deleted anywhere, in no particular order

    bool operator==(const HistoryBackup&) const = default;
};
