#pragma once

#include <QString>

namespace PrivateTemporaryDirectory {

// $XDG_RUNTIME_DIR/murmo, made on first use with mode 0700: only this user can enter it, so
// names of files there cannot be guessed and taken over as in a shared /tmp. Empty when it
// cannot be made.
QString path();

} // namespace PrivateTemporaryDirectory
