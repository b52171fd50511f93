#pragma once

#include "platform/Pasteboard.h"
#include "platform/Scheduler.h"

#include <QStringList>

#include <chrono>
#include <functional>

// What the Wayland clipboards have in common: the owner of the clipboard hands each format over
// through a pipe, one format at a time, each read bounded in time and size; after one late format
// the rest are skipped rather than waited for in turn.
class PipedPasteboard : public Pasteboard
{
public:
    static constexpr std::chrono::milliseconds formatTimeLimit{500};
    static constexpr qsizetype formatSizeLimit = 64 * 1024 * 1024;

    // The names text goes by on Wayland besides "text/plain", offered along with it.
    static const QStringList& textAliases();
    // The formats to offer for `item`: its own, and its text under every name.
    static QStringList offeredTypes(const PasteboardItem& item);
    // The bytes `item` has for `type`, asked for by one of the names of text too.
    static std::optional<QByteArray> bytesFor(const PasteboardItem& item, const QString& type);

protected:
    // Asks the owner for `type`; the read end of the pipe it writes into, or -1.
    using OpenFormat = std::function<QCoro::Task<int>(QString type)>;

    explicit PipedPasteboard(Scheduler& scheduler);

    // Every format of `types` the owner hands over in time.
    QCoro::Task<PasteboardItem> readItem(QStringList types, OpenFormat open);
    // The text among `types`, by its best name.
    QCoro::Task<std::optional<QString>> readText(QStringList types, OpenFormat open);

    Scheduler& m_scheduler;

private:
    QCoro::Task<std::optional<QByteArray>> read(const QString& type, const OpenFormat& open,
                                                bool* late);
};
