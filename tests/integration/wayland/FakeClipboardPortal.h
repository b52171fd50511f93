#pragma once

#include "platform/PasteboardItem.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusUnixFileDescriptor>
#include <QMap>
#include <QObject>
#include <QStringList>
#include <QVariantMap>

#include <functional>

// The desktop portal's own face, as a desktop with the Clipboard portal shows it to Murmo: a
// RemoteDesktop session that says yes, and a clipboard that another application owns or that
// Murmo's session owns. It stands in for a portal service newer than the one installed here.
class FakeClipboardPortal : public QObject
{
    Q_OBJECT

public:
    explicit FakeClipboardPortal(QDBusConnection bus);
    ~FakeClipboardPortal() override;

    // Another application copies `item`; `slowType` is one it never hands over.
    void copyElsewhere(const PasteboardItem& item, const QString& slowType = {});
    // Another application pastes `type` from Murmo's session: it asks for it and reads it.
    void pasteFromSession(const QString& type);

    bool clipboardEnabled = true;
    bool clipboardRequested = false;
    QString session;
    QStringList offered;              // what Murmo's session said it has
    QMap<QString, QByteArray> pasted; // what other applications got from it
    QList<bool> writesDone;

    // For the adaptors.
    QDBusConnection bus() const { return m_bus; }
    QDBusObjectPath request(const QDBusMessage& call, const QVariantMap& options,
                            std::function<QVariantMap()> results);
    QDBusUnixFileDescriptor selectionWrite(uint serial);
    void selectionWriteDone(uint serial, bool success);
    QDBusUnixFileDescriptor selectionRead(const QString& type);
    void setSelection(const QStringList& types);

private:
    void ownerChanged(const QStringList& types, bool sessionIsOwner);

    QDBusConnection m_bus;
    PasteboardItem m_elsewhere;
    QString m_slowType;
    QList<int> m_slowWriters;
    QMap<uint, QPair<QString, int>> m_transfers; // serial → type, read end
    uint m_serial = 0;
};
