#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// Which of the targets an X11 clipboard owner offers to read, and under which format name to
// keep each, so that handing the formats back to Qt's clipboard offers the same targets again.
// Protocol targets carry no content and are left out; the several text targets (UTF8_STRING,
// STRING, TEXT, text/plain) are one text to Qt, read from the best of them.
class X11ClipboardTargets
{
public:
    struct Read
    {
        QByteArray target;
        QString format;
        bool latin1 = false; // the bytes are Latin-1 and become UTF-8
        friend bool operator==(const Read&, const Read&) = default;
    };

    // In the owner's order; the text sits where the owner listed its first text target.
    static QList<Read> reads(const QList<QByteArray>& targets);
    // Only the read that gives the plain text, if the owner offers any.
    static QList<Read> plainTextRead(const QList<QByteArray>& targets);
};
