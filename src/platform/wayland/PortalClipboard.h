#pragma once

#include "platform/wayland/PipeWriters.h"
#include "platform/wayland/PipedPasteboard.h"

#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QObject>
#include <QVariantMap>

#include <chrono>
#include <optional>

class RemoteDesktopSession;

// The clipboard through the desktop's Clipboard portal, inside the RemoteDesktop session, for
// desktops whose compositor lets no client reach it without focus. While the session has no
// clipboard (not started yet, refused, closed), `standIn` serves instead, so that a text is never
// silently dropped. Main thread only.
class PortalClipboard final : public QObject, public PipedPasteboard
{
    Q_OBJECT

public:
    // How long the portal may take to hand over a pipe.
    static constexpr std::chrono::milliseconds callTimeLimit{2000};

    PortalClipboard(RemoteDesktopSession& session, Scheduler& scheduler, Pasteboard& standIn);
    ~PortalClipboard() override;

    void setItem(const PasteboardItem& item) override;
    QCoro::Task<PasteboardItem> snapshot() override;
    QCoro::Task<std::optional<QString>> plainText() override;

private Q_SLOTS:
    void ownerChanged(const QDBusObjectPath& session, const QVariantMap& options);
    void transfer(const QDBusObjectPath& session, const QString& type, uint serial);

private:
    QStringList currentTypes() const;
    QCoro::Task<int> openFormat(QString type);
    // Sends `call`, whose answer carries a pipe's end: our own copy of it, or -1 (also when this
    // clipboard is gone by then).
    QCoro::Task<int> descriptorFrom(QDBusMessage call);
    QCoro::Task<> serve(std::optional<QByteArray> bytes, uint serial);
    void writeDone(uint serial, bool complete);
    void forget();

    RemoteDesktopSession& m_session;
    Pasteboard& m_standIn;
    PipeWriters m_writers;
    // Our own item while the clipboard holds it.
    std::optional<PasteboardItem> m_own;
    // The formats of the clipboard's owner, once the desktop has said.
    std::optional<QStringList> m_types;
};
