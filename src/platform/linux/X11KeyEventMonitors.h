#pragma once

#include "platform/KeyEventMonitors.h"
#include "platform/linux/KeyMonitorRegistry.h"
#include "platform/linux/X11KeyTranslator.h"

#include <QSocketNotifier>

#include <memory>

class XTestInjectionMarker;
class XcbConnection;
struct xcb_input_raw_key_press_event_t;
struct xkb_context;
struct xkb_keymap;
struct xkb_state;

// Key monitors on X11: XInput 2 raw key events of the whole desktop, read on the main thread.
// Without a display, or when the server lacks XInput 2.1, every monitor is refused.
class X11KeyEventMonitors final : public KeyEventMonitors
{
public:
    explicit X11KeyEventMonitors(XTestInjectionMarker& ownInjections);
    ~X11KeyEventMonitors() override;

    std::optional<KeyMonitorHandle> addMonitor(Scope scope, Kind kind, Handler handler) override;
    void removeMonitor(KeyMonitorHandle handle) override;

private:
    bool selectRawKeys();
    void findXTestKeyboard();
    void loadKeymap();
    void readEvents();
    void handle(const xcb_input_raw_key_press_event_t& raw);
    QString characters(int xKeycode) const;
    static Scope focusScope();

    XTestInjectionMarker& m_ownInjections;
    std::unique_ptr<XcbConnection> m_connection;
    std::uint8_t m_xinputOpcode = 0;
    int m_xtestKeyboard = -1;
    std::unique_ptr<QSocketNotifier> m_notifier;
    std::unique_ptr<xkb_context, void (*)(xkb_context*)> m_xkbContext;
    std::unique_ptr<xkb_keymap, void (*)(xkb_keymap*)> m_keymap;
    std::unique_ptr<xkb_state, void (*)(xkb_state*)> m_baseState;
    X11KeyTranslator m_translator;
    KeyMonitorRegistry m_registry;
};
