#include "app/Installation.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

using namespace Qt::StringLiterals;

namespace Installation {

QString backendProgram()
{
    const QString beside = QCoreApplication::applicationDirPath() + u"/murmo-backend"_s;
    if (QFileInfo(beside).isExecutable())
        return beside;
    return QStandardPaths::findExecutable(u"murmo-backend"_s);
}

QUrl permissionsHelp()
{
    QUrl readme(QString::fromUtf8(MURMO_PERMISSIONS_HELP_URL));
    if (readme.isEmpty()) {
        const QString installed = QDir::cleanPath(QCoreApplication::applicationDirPath() +
                                                  u"/../" MURMO_INSTALL_DOCDIR "/README.md"_s);
        readme = QUrl::fromLocalFile(
            QFileInfo::exists(installed) ? installed : QString::fromUtf8(MURMO_SOURCE_README));
    }
    readme.setFragment(u"permissions"_s);
    return readme;
}

MultilingualTagger::DataFolders taggerData()
{
    MultilingualTagger::DataFolders folders = MultilingualTagger::installedData();
    const QString installed = QDir::cleanPath(QCoreApplication::applicationDirPath() +
                                              u"/../" MURMO_INSTALL_DATADIR "/murmo/opencorpora"_s);
    if (QFileInfo::exists(installed + u"/words.dawg"_s))
        folders.russian = installed;
    return folders;
}

} // namespace Installation
