#include "FakeClipboardPortal.h"

#include <QDBusAbstractAdaptor>
#include <QTimer>

#include <fcntl.h>
#include <unistd.h>

#include <array>

using namespace Qt::StringLiterals;

namespace {

const QString portalPath = u"/org/freedesktop/portal/desktop"_s;
const QString clipboardInterface = u"org.freedesktop.portal.Clipboard"_s;

// The caller's part of a request or session path: its unique name without the colon.
QString senderPart(const QDBusMessage& call)
{
    return call.service().mid(1).replace(u'.', u'_');
}

// A pipe whose `keep` end stays here; the other one goes out in a reply.
QDBusUnixFileDescriptor pipeEnd(int& keep, bool giveWriteEnd)
{
    std::array<int, 2> ends{};
    if (::pipe2(ends.data(), O_CLOEXEC) < 0)
        return {};
    keep = giveWriteEnd ? ends[0] : ends[1];
    const int give = giveWriteEnd ? ends[1] : ends[0];
    QDBusUnixFileDescriptor descriptor(give); // a copy
    ::close(give);
    return descriptor;
}

} // namespace

class FakeRemoteDesktopFrontend : public QDBusAbstractAdaptor
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.portal.RemoteDesktop")

public:
    explicit FakeRemoteDesktopFrontend(FakeClipboardPortal* portal)
        : QDBusAbstractAdaptor(portal)
        , m_portal(portal)
    {}

public Q_SLOTS:
    QDBusObjectPath CreateSession(const QVariantMap& options, const QDBusMessage& call)
    {
        m_portal->session = u"%1/session/%2/%3"_s.arg(
            portalPath, senderPart(call), options.value(u"session_handle_token"_s).toString());
        const QString session = m_portal->session;
        return m_portal->request(call, options, [session] {
            return QVariantMap{{u"session_handle"_s, session}};
        });
    }
    QDBusObjectPath SelectDevices(const QDBusObjectPath&, const QVariantMap& options,
                                  const QDBusMessage& call)
    {
        return m_portal->request(call, options, [] { return QVariantMap(); });
    }
    QDBusObjectPath Start(const QDBusObjectPath&, const QString&, const QVariantMap& options,
                          const QDBusMessage& call)
    {
        FakeClipboardPortal* portal = m_portal;
        return m_portal->request(call, options, [portal] {
            return QVariantMap{
                {u"devices"_s, 1u},
                {u"clipboard_enabled"_s, portal->clipboardRequested && portal->clipboardEnabled}};
        });
    }

private:
    FakeClipboardPortal* m_portal;
};

class FakeClipboardFrontend : public QDBusAbstractAdaptor
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.portal.Clipboard")

public:
    explicit FakeClipboardFrontend(FakeClipboardPortal* portal)
        : QDBusAbstractAdaptor(portal)
        , m_portal(portal)
    {}

public Q_SLOTS:
    void RequestClipboard(const QDBusObjectPath&, const QVariantMap&)
    {
        m_portal->clipboardRequested = true;
    }
    void SetSelection(const QDBusObjectPath&, const QVariantMap& options)
    {
        m_portal->setSelection(options.value(u"mime_types"_s).toStringList());
    }
    QDBusUnixFileDescriptor SelectionWrite(const QDBusObjectPath&, uint serial)
    {
        return m_portal->selectionWrite(serial);
    }
    void SelectionWriteDone(const QDBusObjectPath&, uint serial, bool success)
    {
        m_portal->selectionWriteDone(serial, success);
    }
    // A format the owner does not have is an error, as the desktop answers.
    QDBusUnixFileDescriptor SelectionRead(const QDBusObjectPath&, const QString& type,
                                          const QDBusMessage& call)
    {
        QDBusUnixFileDescriptor fd = m_portal->selectionRead(type);
        if (!fd.isValid()) {
            call.setDelayedReply(true);
            m_portal->bus().send(call.createErrorReply(QDBusError::InvalidArgs, u"no "_s + type));
        }
        return fd;
    }

private:
    FakeClipboardPortal* m_portal;
};

FakeClipboardPortal::FakeClipboardPortal(QDBusConnection bus)
    : m_bus(std::move(bus))
{
    new FakeRemoteDesktopFrontend(this);
    new FakeClipboardFrontend(this);
    m_bus.registerObject(portalPath, this, QDBusConnection::ExportAdaptors);
    m_bus.registerService(u"org.freedesktop.portal.Desktop"_s);
}

FakeClipboardPortal::~FakeClipboardPortal()
{
    for (const int fd : std::as_const(m_slowWriters))
        ::close(fd);
    for (const auto& transfer : std::as_const(m_transfers))
        ::close(transfer.second);
    m_bus.unregisterObject(portalPath);
}

QDBusObjectPath FakeClipboardPortal::request(const QDBusMessage& call, const QVariantMap& options,
                                             std::function<QVariantMap()> results)
{
    const QString path = u"%1/request/%2/%3"_s.arg(portalPath, senderPart(call),
                                                   options.value(u"handle_token"_s).toString());
    // The answer comes after the reply, as the user's would.
    QTimer::singleShot(0, this, [this, path, results] {
        QDBusMessage response =
            QDBusMessage::createSignal(path, u"org.freedesktop.portal.Request"_s, u"Response"_s);
        response << 0u << results();
        m_bus.send(response);
    });
    return QDBusObjectPath(path);
}

void FakeClipboardPortal::ownerChanged(const QStringList& types, bool sessionIsOwner)
{
    QDBusMessage signal =
        QDBusMessage::createSignal(portalPath, clipboardInterface, u"SelectionOwnerChanged"_s);
    signal << QVariant::fromValue(QDBusObjectPath(session))
           << QVariantMap{{u"mime_types"_s, types}, {u"session_is_owner"_s, sessionIsOwner}};
    m_bus.send(signal);
}

void FakeClipboardPortal::copyElsewhere(const PasteboardItem& item, const QString& slowType)
{
    m_elsewhere = item;
    m_slowType = slowType;
    QStringList types;
    for (const auto& format : item.formats)
        types << format.type;
    ownerChanged(types, false);
}

void FakeClipboardPortal::setSelection(const QStringList& types)
{
    offered = types;
    ownerChanged(types, true);
}

void FakeClipboardPortal::pasteFromSession(const QString& type)
{
    QDBusMessage signal =
        QDBusMessage::createSignal(portalPath, clipboardInterface, u"SelectionTransfer"_s);
    signal << QVariant::fromValue(QDBusObjectPath(session)) << type << ++m_serial;
    m_transfers.insert(m_serial, {type, -1});
    m_bus.send(signal);
}

QDBusUnixFileDescriptor FakeClipboardPortal::selectionWrite(uint serial)
{
    return pipeEnd(m_transfers[serial].second, true);
}

// Small formats only: the whole of one fits in the pipe, so it is all there once Murmo is done.
void FakeClipboardPortal::selectionWriteDone(uint serial, bool success)
{
    writesDone << success;
    const auto [type, fd] = m_transfers.take(serial);
    if (fd < 0)
        return;
    ::fcntl(fd, F_SETFL, O_NONBLOCK);
    QByteArray bytes;
    std::array<char, 4096> chunk;
    for (ssize_t got; (got = ::read(fd, chunk.data(), chunk.size())) > 0;)
        bytes.append(chunk.data(), got);
    ::close(fd);
    if (success)
        pasted.insert(type, bytes);
}

QDBusUnixFileDescriptor FakeClipboardPortal::selectionRead(const QString& type)
{
    const auto bytes = m_elsewhere.bytes(type);
    if (!bytes)
        return {};
    int writeEnd = -1;
    QDBusUnixFileDescriptor readEnd = pipeEnd(writeEnd, false);
    if (type == m_slowType) {
        m_slowWriters << writeEnd;
        return readEnd;
    }
    const bool written = ::write(writeEnd, bytes->constData(), bytes->size()) == bytes->size();
    ::close(writeEnd);
    if (!written)
        return {};
    return readEnd;
}

#include "FakeClipboardPortal.moc"
