#pragma once

#include "platform/Pasteboard.h"
#include "platform/linux/XSelectionReader.h"

// The X11 CLIPBOARD: written through Qt's clipboard, which then answers other applications;
// read from another owner with bounds (XSelectionReader), or from Qt while this process owns it.
class X11Pasteboard final : public Pasteboard
{
public:
    // What one format may cost when another application owns the clipboard: a screenshot in
    // its largest format fits, and a hung owner delays the paste by a moment only.
    static constexpr XSelectionReader::Limits formatLimits{std::chrono::milliseconds(500),
                                                           64 * 1024 * 1024};

    explicit X11Pasteboard(Scheduler& scheduler, XSelectionReader::Limits limits = formatLimits);

    void setItem(const PasteboardItem& item) override;
    QCoro::Task<PasteboardItem> snapshot() override;
    QCoro::Task<std::optional<QString>> plainText() override;

private:
    QCoro::Task<PasteboardItem> readFromOwner(bool textOnly);
    void updateQtTime();
    std::optional<PasteboardItem> ownItem() const;

    XSelectionReader m_reader;
};
