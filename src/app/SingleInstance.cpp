#include "app/SingleInstance.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QMap>

using namespace Qt::StringLiterals;

namespace {

// A running Murmo answers at once; one that does not within this is stuck.
constexpr int handOverTimeoutMs = 5000;

} // namespace

const QString SingleInstance::serviceName = u"org.murmo.Murmo"_s;
const QString SingleInstance::objectPath = u"/org/murmo/Murmo"_s;

SingleInstance::SingleInstance(QDBusConnection bus, QObject* parent)
    : QObject(parent)
    , m_bus(std::move(bus))
{}

SingleInstance::~SingleInstance()
{
    if (!m_claimed)
        return;
    m_bus.unregisterService(serviceName);
    m_bus.unregisterObject(objectPath);
}

bool SingleInstance::claim()
{
    if (!m_bus.isConnected() || !m_bus.interface())
        return false;
    // The object is in place before the name, so a launch that finds the name finds the object.
    if (!m_bus.registerObject(objectPath, this, QDBusConnection::ExportScriptableSlots))
        return false;
    const auto reply =
        m_bus.interface()->registerService(serviceName, QDBusConnectionInterface::DontQueueService,
                                           QDBusConnectionInterface::DontAllowReplacement);
    m_claimed = reply.isValid() && reply.value() == QDBusConnectionInterface::ServiceRegistered;
    if (!m_claimed)
        m_bus.unregisterObject(objectPath);
    return m_claimed;
}

bool SingleInstance::handOver(QDBusConnection bus, Request request)
{
    static const QMap<Request, QString> methods{{Request::showMainWindow, u"ShowMainWindow"_s},
                                                {Request::showHistory, u"ShowHistory"_s},
                                                {Request::holdBegin, u"HoldBegin"_s},
                                                {Request::holdEnd, u"HoldEnd"_s},
                                                {Request::toggle, u"Toggle"_s}};
    const QString method = methods.value(request);
    const QDBusMessage call =
        QDBusMessage::createMethodCall(serviceName, objectPath, serviceName, method);
    // Events keep flowing while it waits, so a caller in the serving process does not block it.
    const QDBusMessage reply = bus.call(call, QDBus::BlockWithGui, handOverTimeoutMs);
    return reply.type() == QDBusMessage::ReplyMessage;
}

void SingleInstance::ShowMainWindow()
{
    Q_EMIT showMainWindowRequested();
}

void SingleInstance::ShowHistory()
{
    Q_EMIT showHistoryRequested();
}

void SingleInstance::HoldBegin()
{
    Q_EMIT holdBeginRequested();
}

void SingleInstance::HoldEnd()
{
    Q_EMIT holdEndRequested();
}

void SingleInstance::Toggle()
{
    Q_EMIT toggleRequested();
}
