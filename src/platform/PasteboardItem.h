#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <optional>

// One item on the clipboard: each format it is offered in, with its bytes, in the owner's order.
// No formats at all is an empty clipboard.
struct PasteboardItem
{
    struct Format
    {
        QString type;
        QByteArray bytes;
        friend bool operator==(const Format&, const Format&) = default;
    };

    // The format every text-aware application reads; its bytes are UTF-8.
    static QString plainTextType() { return QStringLiteral("text/plain"); }

    static PasteboardItem fromPlainText(const QString& text)
    {
        return {{{plainTextType(), text.toUtf8()}}};
    }

    bool isEmpty() const { return formats.isEmpty(); }

    std::optional<QByteArray> bytes(const QString& type) const
    {
        for (const Format& format : formats) {
            if (format.type == type)
                return format.bytes;
        }
        return std::nullopt;
    }

    std::optional<QString> plainText() const
    {
        if (const auto utf8 = bytes(plainTextType()))
            return QString::fromUtf8(*utf8);
        return std::nullopt;
    }

    friend bool operator==(const PasteboardItem&, const PasteboardItem&) = default;

    QList<Format> formats;
};
