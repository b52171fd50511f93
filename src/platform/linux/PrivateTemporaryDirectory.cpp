#include "platform/linux/PrivateTemporaryDirectory.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>

using namespace Qt::StringLiterals;

namespace PrivateTemporaryDirectory {

QString path()
{
    const QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (runtime.isEmpty())
        return {};
    const QString directory = runtime + u"/murmo"_s;
    const bool ready =
        QDir().mkpath(directory) &&
        QFile::setPermissions(directory, QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                             QFileDevice::ExeOwner);
    return ready ? directory : QString();
}

} // namespace PrivateTemporaryDirectory
