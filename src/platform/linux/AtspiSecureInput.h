#pragma once

#include "platform/Scheduler.h"
#include "platform/SecureInput.h"

#include <QPointer>

#include <chrono>

class QDBusPendingCallWatcher;
typedef struct _AtspiAccessible AtspiAccessible;
typedef struct _AtspiEvent AtspiEvent;
typedef struct _AtspiEventListener AtspiEventListener;

// Password fields through AT-SPI, the accessibility bus of the Linux desktop: the focused
// object has the role "password text". The focus is kept from focus events, so a check asks one
// object one bounded question instead of walking any tree; no bus, or no answer in time, counts
// as no password field. libatspi runs on the GLib main context that Qt's event loop drives.
class AtspiSecureInput final : public SecureInput
{
public:
    // Finding the accessibility bus at start, its service started on demand.
    static constexpr std::chrono::milliseconds busLookupLimit{5000};
    // Signing up for focus events with the bus's registry, started on demand too.
    static constexpr std::chrono::milliseconds registrationLimit{2000};
    // Any question to another application once running.
    static constexpr std::chrono::milliseconds answerLimit{300};

    explicit AtspiSecureInput(Scheduler& scheduler);
    ~AtspiSecureInput() override;
    AtspiSecureInput(const AtspiSecureInput&) = delete;
    AtspiSecureInput& operator=(const AtspiSecureInput&) = delete;

    bool isEnabled() override;
    // Whether focus events are coming in.
    bool isListening() const { return m_listener != nullptr; }

private:
    void lookUpBus(Scheduler& scheduler);
    void listen(const QString& busAddress);
    void setFocus(AtspiAccessible* focus);
    static void onFocusEvent(AtspiEvent* event, void* self);

    QPointer<QDBusPendingCallWatcher> m_busLookup;
    TimerHandle m_busLookupLimit;
    AtspiEventListener* m_listener = nullptr;
    AtspiAccessible* m_focus = nullptr;
    bool m_focusIsPassword = false;
};
