#pragma once

#include "platform/linux/MultilingualTagger.h"

#include <QString>
#include <QUrl>

// Where Murmo's companions are, installed (cmake --install: everything under one prefix) or
// run from the build tree.
namespace Installation {

// murmo-backend beside the murmo executable, else the first on PATH; empty when none.
QString backendProgram();
// The README section on permissions: the installed copy, else the source tree's, unless the
// build names another address.
QUrl permissionsHelp();
// The tagger's data, with the Russian dictionary installed beside Murmo when it is there.
MultilingualTagger::DataFolders taggerData();

} // namespace Installation
