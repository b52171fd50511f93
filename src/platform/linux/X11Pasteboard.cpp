#include "platform/linux/X11Pasteboard.h"

#include "platform/linux/X11ClipboardTargets.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QLoggingCategory>
#include <QMimeData>
#include <QScreen>
#include <qpa/qplatformnativeinterface.h>

#include <xcb/xcb.h>

Q_DECLARE_LOGGING_CATEGORY(lcClipboard)

X11Pasteboard::X11Pasteboard(Scheduler& scheduler, XSelectionReader::Limits limits)
    : m_reader(scheduler, limits)
{}

void X11Pasteboard::setItem(const PasteboardItem& item)
{
    updateQtTime();
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (item.isEmpty()) {
        clipboard->clear();
    } else {
        auto* mime = new QMimeData;
        for (const PasteboardItem::Format& format : item.formats)
            mime->setData(format.type, format.bytes);
        clipboard->setMimeData(mime); // the clipboard takes ownership
    }
}

QCoro::Task<PasteboardItem> X11Pasteboard::snapshot()
{
    if (auto own = ownItem())
        co_return std::move(*own);
    co_return co_await readFromOwner(false);
}

QCoro::Task<std::optional<QString>> X11Pasteboard::plainText()
{
    if (const auto own = ownItem())
        co_return own->plainText();
    const PasteboardItem item = co_await readFromOwner(true);
    co_return item.plainText();
}

QCoro::Task<PasteboardItem> X11Pasteboard::readFromOwner(bool textOnly)
{
    const QList<QByteArray> targets = co_await m_reader.targets();
    const QList<X11ClipboardTargets::Read> reads = textOnly
                                                       ? X11ClipboardTargets::plainTextRead(targets)
                                                       : X11ClipboardTargets::reads(targets);
    PasteboardItem item;
    for (qsizetype i = 0; i < reads.size(); ++i) {
        const X11ClipboardTargets::Read& read = reads[i];
        const XSelectionReader::Result result = co_await m_reader.read(read.target);
        if (const auto* bytes = std::get_if<QByteArray>(&result)) {
            item.formats.append(
                {read.format, read.latin1 ? QString::fromLatin1(*bytes).toUtf8() : *bytes});
        } else if (std::get<XSelectionReader::Failure>(result) == XSelectionReader::Failure::late) {
            // An owner that stopped answering would only make the user wait for each format.
            qCInfo(lcClipboard) << "clipboard owner stopped answering;" << reads.size() - i - 1
                                << "more formats skipped";
            break;
        }
    }
    co_return item;
}

// Qt claims the clipboard with the time of the last X event it saw. When another application
// has copied since, the server ignores a claim that old, and the paste would paste what that
// application copied. Qt's platform plugin takes a fresher time through this hook.
void X11Pasteboard::updateQtTime()
{
    const std::optional<std::uint32_t> now = m_reader.serverTime();
    auto* native = QGuiApplication::platformNativeInterface();
    if (!now || !native)
        return;
    using SetAppTime = void (*)(QScreen*, std::uint32_t);
    // The hook comes untyped; this is its real type.
    const auto setAppTime = reinterpret_cast<SetAppTime>(reinterpret_cast<void*>(
        native->nativeResourceFunctionForScreen(QByteArrayLiteral("setapptime"))));
    if (setAppTime)
        setAppTime(QGuiApplication::primaryScreen(), *now);
}

// Asks the server, not Qt, who owns the clipboard: Qt learns of losing it only later, and would
// then answer from another owner with its own, unbounded, reads.
std::optional<PasteboardItem> X11Pasteboard::ownItem() const
{
    const auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (!x11)
        return std::nullopt;
    const xcb_setup_t* qtClient = xcb_get_setup(x11->connection());
    const std::uint32_t owner = m_reader.owner();
    if (owner == XCB_NONE || (owner & ~qtClient->resource_id_mask) != qtClient->resource_id_base)
        return std::nullopt;
    PasteboardItem item;
    if (const QMimeData* mime = QGuiApplication::clipboard()->mimeData()) {
        for (const QString& type : mime->formats())
            item.formats.append({type, mime->data(type)});
    }
    return item;
}
