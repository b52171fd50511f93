#include "platform/linux/AtspiSecureInput.h"

#include <QDBusConnection>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QLoggingCategory>

#include <atspi/atspi.h>

Q_LOGGING_CATEGORY(lcAccessibility, "murmo.accessibility")

namespace {

constexpr char focusEvent[] = "object:state-changed:focused";
constexpr char addressVariable[] = "AT_SPI_BUS_ADDRESS";

int milliseconds(std::chrono::milliseconds limit)
{
    return int(limit.count());
}

} // namespace

AtspiSecureInput::AtspiSecureInput(Scheduler& scheduler)
{
    if (qEnvironmentVariableIsSet(addressVariable))
        listen({}); // libatspi takes the address from there itself
    else
        lookUpBus(scheduler);
}

AtspiSecureInput::~AtspiSecureInput()
{
    if (m_busLookup)
        m_busLookup->deleteLater();
    if (m_listener) {
        atspi_event_listener_deregister(m_listener, focusEvent, nullptr);
        g_object_unref(m_listener);
    }
    setFocus(nullptr);
}

// The bus's address comes from the session bus, asked without blocking: libatspi would ask with
// no bound of its own.
void AtspiSecureInput::lookUpBus(Scheduler& scheduler)
{
    QDBusConnection session = QDBusConnection::sessionBus();
    if (!session.isConnected()) {
        qCInfo(lcAccessibility) << "no session bus; password fields cannot be recognised";
        return;
    }
    const QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.a11y.Bus"), QStringLiteral("/org/a11y/bus"),
        QStringLiteral("org.a11y.Bus"), QStringLiteral("GetAddress"));
    m_busLookup = new QDBusPendingCallWatcher(session.asyncCall(call));
    QObject::connect(m_busLookup, &QDBusPendingCallWatcher::finished, m_busLookup,
                     [this](QDBusPendingCallWatcher* watcher) {
                         m_busLookupLimit.cancel();
                         const QDBusPendingReply<QString> reply = *watcher;
                         if (reply.isValid())
                             listen(reply.value());
                         else
                             qCInfo(lcAccessibility) << "no accessibility bus:" << reply.error();
                         watcher->deleteLater();
                     });
    m_busLookupLimit = scheduler.runAfter(busLookupLimit, [this] {
        qCInfo(lcAccessibility) << "the accessibility bus did not answer in time";
        if (m_busLookup)
            m_busLookup->deleteLater(); // a late answer is dropped with it
    });
}

void AtspiSecureInput::listen(const QString& busAddress)
{
    // Set for libatspi's connection only: Qt's own accessibility reads it too, at its start.
    if (!busAddress.isEmpty())
        qputenv(addressVariable, busAddress.toLocal8Bit());
    const int status = atspi_init();
    if (!busAddress.isEmpty())
        qunsetenv(addressVariable);
    if (status > 1) {
        qCInfo(lcAccessibility) << "cannot connect to the accessibility bus";
        return;
    }

    atspi_set_timeout(milliseconds(registrationLimit), 0);
    AtspiEventListener* listener = atspi_event_listener_new(&onFocusEvent, this, nullptr);
    GError* error = nullptr;
    if (!atspi_event_listener_register(listener, focusEvent, &error)) {
        qCInfo(lcAccessibility) << "cannot follow the focus:"
                                << (error ? error->message : "no reason given");
        g_clear_error(&error);
        g_object_unref(listener);
        return;
    }
    m_listener = listener;
    atspi_set_timeout(milliseconds(answerLimit), 0);
}

void AtspiSecureInput::onFocusEvent(AtspiEvent* event, void* self)
{
    auto* input = static_cast<AtspiSecureInput*>(self);
    if (event->detail1)
        input->setFocus(event->source);
    else if (event->source == input->m_focus)
        input->setFocus(nullptr);
    g_boxed_free(ATSPI_TYPE_EVENT, event);
}

void AtspiSecureInput::setFocus(AtspiAccessible* focus)
{
    if (m_focus)
        g_object_unref(m_focus);
    m_focus = focus ? static_cast<AtspiAccessible*>(g_object_ref(focus)) : nullptr;
    m_focusIsPassword = false;
    if (!m_focus)
        return;
    GError* error = nullptr;
    m_focusIsPassword = atspi_accessible_get_role(m_focus, &error) == ATSPI_ROLE_PASSWORD_TEXT;
    g_clear_error(&error);
}

// The field must still have the focus: its window may have lost it to one that tells AT-SPI
// nothing (a terminal, say), or its application may be gone.
bool AtspiSecureInput::isEnabled()
{
    if (!m_focusIsPassword)
        return false;
    AtspiStateSet* states = atspi_accessible_get_state_set(m_focus);
    const bool focused = states && atspi_state_set_contains(states, ATSPI_STATE_FOCUSED);
    if (states)
        g_object_unref(states);
    return focused;
}
