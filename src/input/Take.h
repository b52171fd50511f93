#pragma once

#include <QByteArray>
#include <QString>

// A finished recording: a complete audio file and the extension naming its format.
struct Take
{
    QByteArray data;
    QString ext; // "m4a" or "wav"
};
