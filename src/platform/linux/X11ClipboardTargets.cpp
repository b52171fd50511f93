#include "platform/linux/X11ClipboardTargets.h"

#include "platform/PasteboardItem.h"

#include <algorithm>
#include <array>

namespace {

// Selection protocol machinery, server resources named by id, and a Qt-internal image target.
// text/x-moz-url is served by Qt from text/uri-list, so it needs no copy of its own.
constexpr std::array skipped{
    "TARGETS", "MULTIPLE", "TIMESTAMP",     "SAVE_TARGETS",           "DELETE",        "INCR",
    "PIXMAP",  "BITMAP",   "COMPOUND_TEXT", "application/x-qt-image", "text/x-moz-url"};

// Targets that all carry the plain text, best first.
constexpr std::array textTargets{"UTF8_STRING", "text/plain", "STRING", "TEXT"};

template<std::size_t N>
bool listed(const std::array<const char*, N>& names, const QByteArray& target)
{
    return std::ranges::any_of(names, [&](const char* name) { return target == name; });
}

std::optional<X11ClipboardTargets::Read> bestTextRead(const QList<QByteArray>& targets)
{
    for (const char* text : textTargets) {
        if (targets.contains(text)) {
            const QByteArray target(text);
            return X11ClipboardTargets::Read{target, PasteboardItem::plainTextType(),
                                             target == "STRING" || target == "TEXT"};
        }
    }
    return std::nullopt;
}

} // namespace

QList<X11ClipboardTargets::Read> X11ClipboardTargets::reads(const QList<QByteArray>& targets)
{
    QList<Read> reads;
    bool textPlaced = false;
    for (const QByteArray& target : targets) {
        if (listed(skipped, target))
            continue;
        if (listed(textTargets, target)) {
            if (!textPlaced)
                reads.append(*bestTextRead(targets));
            textPlaced = true;
            continue;
        }
        const QString format = QString::fromLatin1(target);
        const bool seen =
            std::ranges::any_of(reads, [&](const Read& r) { return r.format == format; });
        if (!seen)
            reads.append({target, format, false});
    }
    return reads;
}

QList<X11ClipboardTargets::Read>
X11ClipboardTargets::plainTextRead(const QList<QByteArray>& targets)
{
    if (const auto text = bestTextRead(targets))
        return {*text};
    return {};
}
