#include "app/Autostart.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

// An Exec argument, quoted as the desktop entry format asks when it holds anything special.
QString execArgument(QString argument)
{
    static const QString reserved = uR"( "'\><~|&;$*?#()`)"_s;
    if (std::none_of(argument.cbegin(), argument.cend(),
                     [](QChar c) { return reserved.contains(c) || c.isSpace(); }))
        return argument;
    for (const QString& special : {u"\\"_s, u"\""_s, u"`"_s, u"$"_s})
        argument.replace(special, u"\\"_s + special);
    // The entry is read as a string first, so each backslash is written twice.
    argument.replace(u"\\"_s, u"\\\\"_s);
    return u'"' + argument + u'"';
}

} // namespace

Autostart::Autostart(QString entryPath, QString program)
    : m_entryPath(std::move(entryPath))
    , m_program(std::move(program))
{}

QString Autostart::defaultEntryPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           u"/autostart/murmo.desktop"_s;
}

bool Autostart::isEnabled() const
{
    QFile file(m_entryPath);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return false;
    while (!file.atEnd()) {
        if (file.readLine().trimmed().replace(' ', "") == "Hidden=true")
            return false;
    }
    return true;
}

bool Autostart::setEnabled(bool enabled)
{
    if (!enabled)
        return !QFileInfo::exists(m_entryPath) || QFile::remove(m_entryPath);
    QDir().mkpath(QFileInfo(m_entryPath).absolutePath());
    QSaveFile file(m_entryPath);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Text))
        return false;
    file.write(entry().toUtf8());
    return file.commit();
}

QString Autostart::entry() const
{
    return u"[Desktop Entry]\n"
           "Type=Application\n"
           "Name=Murmo\n"
           "Comment=Hold a key, speak, and the text appears where you type\n"
           "Exec="_s +
           execArgument(m_program) +
           u"\n"
           "Icon=org.murmo.Murmo\n"
           "Terminal=false\n"
           "X-GNOME-Autostart-enabled=true\n"_s;
}
