#include "platform/wayland/PortalClipboard.h"

#include "platform/wayland/PortalRequest.h"
#include "platform/wayland/RemoteDesktopSession.h"

#include <QDBusMessage>
#include <QDBusPendingCall>
#include <QDBusUnixFileDescriptor>
#include <QPointer>

#include <QCoroDBusPendingCall>

#include <fcntl.h>

using namespace Qt::StringLiterals;

namespace {

const QString clipboardInterface = u"org.freedesktop.portal.Clipboard"_s;

// Desktops that never say which formats the clipboard has are asked for the usual ones.
const QStringList usualTypes{u"image/png"_s, u"text/plain;charset=utf-8"_s, u"text/plain"_s};

// Our own copy of the descriptor a reply carries; -1 when it carries none.
int takeDescriptor(const QDBusMessage& reply)
{
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
        return -1;
    const auto fd = reply.arguments().constFirst().value<QDBusUnixFileDescriptor>();
    return fd.isValid() ? ::fcntl(fd.fileDescriptor(), F_DUPFD_CLOEXEC, 0) : -1;
}

} // namespace

PortalClipboard::PortalClipboard(RemoteDesktopSession& session, Scheduler& scheduler,
                                 Pasteboard& standIn)
    : PipedPasteboard(scheduler)
    , m_session(session)
    , m_standIn(standIn)
    , m_writers(scheduler)
{
    QDBusConnection bus = m_session.bus();
    // QtDBus finds the slots' parameter types by name, known only once registered.
    qRegisterMetaType<QDBusObjectPath>();
    bus.connect(PortalRequest::service, PortalRequest::path, clipboardInterface,
                u"SelectionOwnerChanged"_s, this, SLOT(ownerChanged(QDBusObjectPath, QVariantMap)));
    bus.connect(PortalRequest::service, PortalRequest::path, clipboardInterface,
                u"SelectionTransfer"_s, this, SLOT(transfer(QDBusObjectPath, QString, uint)));
    connect(&m_session, &RemoteDesktopSession::ended, this, &PortalClipboard::forget);
}

PortalClipboard::~PortalClipboard() = default;

void PortalClipboard::setItem(const PasteboardItem& item)
{
    if (!m_session.clipboardEnabled())
        return m_standIn.setItem(item);
    m_own = item.isEmpty() ? std::nullopt : std::optional(item);
    QDBusMessage call = m_session.call(clipboardInterface, u"SetSelection"_s);
    call << QVariantMap{{u"mime_types"_s, offeredTypes(item)}};
    m_session.bus().send(call);
}

QCoro::Task<PasteboardItem> PortalClipboard::snapshot()
{
    if (!m_session.clipboardEnabled())
        co_return co_await m_standIn.snapshot();
    if (m_own)
        co_return *m_own;
    co_return co_await readItem(currentTypes(), [this](QString type) { return openFormat(type); });
}

QCoro::Task<std::optional<QString>> PortalClipboard::plainText()
{
    if (!m_session.clipboardEnabled())
        co_return co_await m_standIn.plainText();
    if (m_own)
        co_return m_own->plainText();
    co_return co_await readText(currentTypes(), [this](QString type) { return openFormat(type); });
}

QStringList PortalClipboard::currentTypes() const
{
    return m_types.value_or(usualTypes);
}

QCoro::Task<int> PortalClipboard::openFormat(QString type)
{
    QDBusMessage call = m_session.call(clipboardInterface, u"SelectionRead"_s);
    call << type;
    return descriptorFrom(call);
}

QCoro::Task<int> PortalClipboard::descriptorFrom(QDBusMessage call)
{
    const QPointer self(this);
    const QDBusPendingCall pending =
        m_session.bus().asyncCall(call, static_cast<int>(callTimeLimit.count()));
    const QDBusMessage reply = co_await pending;
    const int fd = takeDescriptor(reply);
    if (self || fd < 0)
        co_return fd;
    ::close(fd);
    co_return -1;
}

void PortalClipboard::ownerChanged(const QDBusObjectPath& session, const QVariantMap& options)
{
    if (session.path() != m_session.handle())
        return;
    if (options.value(u"session_is_owner"_s).toBool())
        return;
    m_own.reset();
    m_types = options.value(u"mime_types"_s).toStringList();
}

void PortalClipboard::transfer(const QDBusObjectPath& session, const QString& type, uint serial)
{
    if (session.path() != m_session.handle())
        return;
    serve(m_own ? bytesFor(*m_own, type) : std::nullopt, serial);
}

QCoro::Task<> PortalClipboard::serve(std::optional<QByteArray> bytes, uint serial)
{
    if (!bytes) {
        writeDone(serial, false);
        co_return;
    }
    QDBusMessage call = m_session.call(clipboardInterface, u"SelectionWrite"_s);
    call << serial;
    const QPointer self(this);
    const int fd = co_await descriptorFrom(call);
    if (!self)
        co_return;
    if (fd < 0) {
        writeDone(serial, false);
        co_return;
    }
    m_writers.write(fd, std::move(*bytes), [self, serial](bool complete) {
        if (self)
            self->writeDone(serial, complete);
    });
}

void PortalClipboard::writeDone(uint serial, bool complete)
{
    QDBusMessage call = m_session.call(clipboardInterface, u"SelectionWriteDone"_s);
    call << serial << complete;
    m_session.bus().send(call);
}

void PortalClipboard::forget()
{
    m_own.reset();
    m_types.reset();
}
