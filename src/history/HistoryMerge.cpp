#include "history/HistoryMerge.h"

#include <QHash>

#include <algorithm>

namespace HistoryMerge {

std::optional<Result> fold(const QList<HistoryItem>& items, const QSet<QUuid>& deleted,
                           const HistoryBackup& remote)
{
    Result result;
    result.deleted = deleted;
    for (const QUuid& id : remote.deleted)
        result.deleted.insert(id);

    // Local records first, in their order, then what only the remote side has. Of two records
    // with one id the later one of the same side stands, and a local one beats a remote one.
    QHash<QUuid, qsizetype> position;
    position.reserve(items.size() + remote.history.size());
    result.items.reserve(items.size() + remote.history.size());
    const auto put = [&](const HistoryItem& item, auto replaceable) {
        if (result.deleted.contains(item.id))
            return;
        const auto found = position.constFind(item.id);
        if (found == position.constEnd()) {
            position.insert(item.id, result.items.size());
            result.items.append(item);
        } else if (replaceable(*found)) {
            result.items[*found] = item;
        }
    };
    for (const HistoryItem& item : items)
        put(item, [](qsizetype) { return true; });
    const qsizetype localCount = result.items.size();
    for (const HistoryItem& item : remote.history)
        put(item, [&](qsizetype at) { return at >= localCount; });

    // A stable sort keeps records of equal time in the local order, so a history that is
    // already sorted does not count as changed and start a push on every pull.
    std::stable_sort(
        result.items.begin(), result.items.end(),
        [](const HistoryItem& a, const HistoryItem& b) { return a.createdAt > b.createdAt; });

    if (result.items == items && result.deleted == deleted)
        return std::nullopt;
    return result;
}

} // namespace HistoryMerge
