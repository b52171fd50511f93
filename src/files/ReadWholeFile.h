#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// The whole content of a file, or nothing when it cannot be opened or read to the end: a file
// cut short by an I/O error must never pass for a shorter file.
std::optional<QByteArray> readWholeFile(const QString& path);
