#pragma once

#include "platform/KeyEventMonitors.h"
#include "platform/linux/KeyMonitorRegistry.h"
#include "platform/linux/X11KeyRepeat.h"
#include "platform/linux/X11KeyTranslator.h"

#include <QSocketNotifier>

#include <memory>

class Scheduler;
class XTestInjectionMarker;
class XcbConnection;
struct xcb_input_raw_key_press_event_t;
struct xkb_context;
struct xkb_keymap;
struct xkb_state;

// Key monitors on X11: XInput 2 raw key events of the whole desktop, read on the main thread, with
// the auto-repeats the server leaves out of them made from its repeat settings. Without a display,
// or when the server lacks XInput 2.1, every monitor is refused and unavailableReason() says why.
class X11KeyEventMonitors final : public KeyEventMonitors
{
public:
    // The scheduler times the auto-repeats.
    X11KeyEventMonitors(XTestInjectionMarker& ownInjections, Scheduler& scheduler);
    ~X11KeyEventMonitors() override;

    std::optional<KeyMonitorHandle> addMonitor(Scope scope, Kind kind, Handler handler) override;
    void removeMonitor(KeyMonitorHandle handle) override;
    std::optional<QString> unavailableReason() const override { return m_unavailable; }

private:
    bool selectRawKeys();
    void findXTestKeyboard();
    void loadKeymap();
    void watchRepeatSettings();
    void readRepeatSettings();
    void readEvents();
    void handle(const xcb_input_raw_key_press_event_t& raw);
    void deliver(int xKeycode, X11KeyTranslator::Translated translated);
    bool repeats(int xKeycode) const;
    QString characters(int xKeycode) const;
    static Scope focusScope();

    XTestInjectionMarker& m_ownInjections;
    std::unique_ptr<XcbConnection> m_connection;
    std::optional<QString> m_unavailable;
    std::uint8_t m_xinputOpcode = 0;
    std::uint8_t m_xkbEvent = 0; // the event code of every XKB event, 0 without XKB
    int m_xtestKeyboard = -1;
    std::unique_ptr<QSocketNotifier> m_notifier;
    std::unique_ptr<xkb_context, void (*)(xkb_context*)> m_xkbContext;
    std::unique_ptr<xkb_keymap, void (*)(xkb_keymap*)> m_keymap;
    std::unique_ptr<xkb_state, void (*)(xkb_state*)> m_baseState;
    X11KeyTranslator m_translator;
    X11KeyRepeat m_repeat;
    KeyMonitorRegistry m_registry;
};
