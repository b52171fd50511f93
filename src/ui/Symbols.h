#pragma once

#include <QString>
#include <QStringList>

// The symbols the views name, each drawn from one committed icon (icons/COPYING says where every
// icon comes from). Models hand these names to the views; the views never name an icon file.
namespace Symbols {

// The icon file's base name for `symbol`; empty for a name no view may use.
QString iconFile(QStringView symbol);
QStringList names();

} // namespace Symbols
