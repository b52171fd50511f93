#include "platform/wayland/PipedPasteboard.h"

#include "platform/wayland/PipeReader.h"

#include <QLoggingCategory>

using namespace Qt::StringLiterals;

namespace {

Q_LOGGING_CATEGORY(lcClipboard, "murmo.clipboard")

} // namespace

PipedPasteboard::PipedPasteboard(Scheduler& scheduler)
    : m_scheduler(scheduler)
{}

const QStringList& PipedPasteboard::textAliases()
{
    static const QStringList aliases{u"text/plain;charset=utf-8"_s, u"UTF8_STRING"_s, u"STRING"_s,
                                     u"TEXT"_s};
    return aliases;
}

QStringList PipedPasteboard::offeredTypes(const PasteboardItem& item)
{
    QStringList types;
    for (const PasteboardItem::Format& format : item.formats)
        types << format.type;
    if (item.bytes(PasteboardItem::plainTextType())) {
        for (const QString& alias : textAliases()) {
            if (!types.contains(alias))
                types << alias;
        }
    }
    return types;
}

std::optional<QByteArray> PipedPasteboard::bytesFor(const PasteboardItem& item, const QString& type)
{
    if (const auto exact = item.bytes(type))
        return exact;
    if (textAliases().contains(type))
        return item.bytes(PasteboardItem::plainTextType());
    return std::nullopt;
}

QCoro::Task<PasteboardItem> PipedPasteboard::readItem(QStringList types, OpenFormat open)
{
    PasteboardItem item;
    bool late = false;
    for (const QString& type : std::as_const(types)) {
        if (late) {
            qCInfo(lcClipboard) << "skipped clipboard format" << type << "after a late one";
            continue;
        }
        if (auto bytes = co_await read(type, open, &late))
            item.formats.append({type, std::move(*bytes)});
    }
    co_return item;
}

QCoro::Task<std::optional<QString>> PipedPasteboard::readText(QStringList types, OpenFormat open)
{
    QStringList preferred = textAliases().mid(0, 2);
    preferred << PasteboardItem::plainTextType();
    for (const QString& type : std::as_const(preferred)) {
        if (!types.contains(type))
            continue;
        bool late = false;
        if (const std::optional<QByteArray> bytes = co_await read(type, open, &late))
            co_return QString::fromUtf8(*bytes);
        if (late)
            break;
    }
    co_return std::nullopt;
}

QCoro::Task<std::optional<QByteArray>> PipedPasteboard::read(const QString& type,
                                                             const OpenFormat& open, bool* late)
{
    const int fd = co_await open(type);
    if (fd < 0)
        co_return std::nullopt;
    const PipeReader::Result result =
        co_await PipeReader::read(m_scheduler, fd, {formatTimeLimit, formatSizeLimit});
    if (result.tooLarge)
        qCWarning(lcClipboard) << "left out clipboard format" << type << "over" << formatSizeLimit
                               << "bytes";
    if (result.late) {
        qCWarning(lcClipboard) << "left out clipboard format" << type << "not handed over in"
                               << formatTimeLimit.count() << "ms";
        *late = true;
    }
    co_return result.bytes;
}
