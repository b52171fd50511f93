#pragma once

#include "platform/PasteboardItem.h"

#include <QString>

#include <QCoroTask>

#include <optional>

// The desktop's clipboard. Reading it asks whichever application owns it, so reads are
// asynchronous and bounded: a format its owner does not hand over in time, or one too large to
// keep, is left out rather than waited for.
class Pasteboard
{
public:
    virtual ~Pasteboard() = default;

    // Replaces the whole clipboard with `item`; an empty item leaves the clipboard empty.
    virtual void setItem(const PasteboardItem& item) = 0;
    // Everything the clipboard holds now.
    virtual QCoro::Task<PasteboardItem> snapshot() = 0;
    // The clipboard's plain text now; none when it holds no text or its owner does not answer.
    virtual QCoro::Task<std::optional<QString>> plainText() = 0;

    // Replaces the whole clipboard with one plain-text item.
    void setPlainText(const QString& text) { setItem(PasteboardItem::fromPlainText(text)); }
};
