#pragma once

#include <QString>

// Counting and cutting text by user-perceived characters, so that an emoji or a letter with a
// combining accent is never split.
namespace Graphemes {

qsizetype count(const QString& text);
QString left(const QString& text, qsizetype count);

} // namespace Graphemes
