#pragma once

#include "history/HistoryBackup.h"

#include <QSet>

#include <optional>

// Folds a history document from elsewhere into the local history: the union of the records by
// id, the union of the tombstones, and tombstones win. Where both sides hold the same id, the
// local record stays whatever the dates or contents.
namespace HistoryMerge {

struct Result
{
    QList<HistoryItem> items; // newest first
    QSet<QUuid> deleted;
};

// None when folding changes nothing: the same records in the same order and the same
// tombstones.
std::optional<Result> fold(const QList<HistoryItem>& items, const QSet<QUuid>& deleted,
                           const HistoryBackup& remote);

} // namespace HistoryMerge
