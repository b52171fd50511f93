#include "platform/linux/X11KeyEventMonitors.h"

#include "platform/linux/XTestInjectionMarker.h"
#include "platform/linux/XcbConnection.h"

#include <QGuiApplication>

#include <xcb/xinput.h>
#include <xkbcommon/xkbcommon-x11.h>
// xcb's XKB header names a member `explicit`, a word C++ reserves.
#define explicit explicit_
#include <xcb/xkb.h>
#undef explicit

#include <string_view>

using namespace Qt::StringLiterals;

namespace {

// The slave device through which the server routes every XTest keystroke.
constexpr std::string_view xtestKeyboardName = "Virtual core XTEST keyboard";

} // namespace

X11KeyEventMonitors::X11KeyEventMonitors(XTestInjectionMarker& ownInjections, Scheduler& scheduler)
    : m_ownInjections(ownInjections)
    , m_xkbContext(nullptr, &xkb_context_unref)
    , m_keymap(nullptr, &xkb_keymap_unref)
    , m_baseState(nullptr, &xkb_state_unref)
    , m_repeat(scheduler, [this](int xKeycode) {
        if (const auto translated = m_translator.press(xKeycode))
            deliver(xKeycode, *translated);
    })
{
    QString problem;
    m_connection = XcbConnection::open(&problem);
    if (!m_connection) {
        m_unavailable = problem;
        return;
    }
    if (!selectRawKeys()) {
        m_unavailable = u"The X server lacks XInput 2.1, which Murmo needs to see the hold key."_s;
        return;
    }
    findXTestKeyboard();
    loadKeymap();
    watchRepeatSettings();
    m_notifier = std::make_unique<QSocketNotifier>(xcb_get_file_descriptor(m_connection->get()),
                                                   QSocketNotifier::Read);
    QObject::connect(m_notifier.get(), &QSocketNotifier::activated, m_notifier.get(),
                     [this] { readEvents(); });
    // Replies read above may have pulled events into xcb's queue, where the notifier cannot see
    // them; nobody is listening yet, so they are just dropped.
    readEvents();
}

X11KeyEventMonitors::~X11KeyEventMonitors() = default;

std::optional<KeyMonitorHandle> X11KeyEventMonitors::addMonitor(Scope scope, Kind kind,
                                                                Handler handler)
{
    if (!m_notifier)
        return std::nullopt;
    return m_registry.add(scope, kind, std::move(handler));
}

void X11KeyEventMonitors::removeMonitor(KeyMonitorHandle handle)
{
    m_registry.remove(handle);
}

bool X11KeyEventMonitors::selectRawKeys()
{
    const auto opcode = m_connection->xinputOpcode();
    if (!opcode)
        return false;
    m_xinputOpcode = *opcode;
    // Master devices only: selecting the slaves too would deliver every key twice.
    struct
    {
        xcb_input_event_mask_t header;
        std::uint32_t mask;
    } selection{{XCB_INPUT_DEVICE_ALL_MASTER, 1},
                XCB_INPUT_XI_EVENT_MASK_RAW_KEY_PRESS | XCB_INPUT_XI_EVENT_MASK_RAW_KEY_RELEASE};
    const auto cookie = xcb_input_xi_select_events_checked(
        m_connection->get(), m_connection->root(), 1, &selection.header);
    return !xcbOwned(xcb_request_check(m_connection->get(), cookie));
}

void X11KeyEventMonitors::findXTestKeyboard()
{
    auto* connection = m_connection->get();
    const auto devices = xcbOwned(xcb_input_xi_query_device_reply(
        connection, xcb_input_xi_query_device(connection, XCB_INPUT_DEVICE_ALL), nullptr));
    if (!devices)
        return;
    for (auto it = xcb_input_xi_query_device_infos_iterator(devices.get()); it.rem;
         xcb_input_xi_device_info_next(&it)) {
        const std::string_view name(xcb_input_xi_device_info_name(it.data), it.data->name_len);
        if (it.data->type == XCB_INPUT_DEVICE_TYPE_SLAVE_KEYBOARD && name == xtestKeyboardName)
            m_xtestKeyboard = it.data->deviceid;
    }
}

void X11KeyEventMonitors::loadKeymap()
{
    auto* connection = m_connection->get();
    if (!xkb_x11_setup_xkb_extension(
            connection, XKB_X11_MIN_MAJOR_XKB_VERSION, XKB_X11_MIN_MINOR_XKB_VERSION,
            XKB_X11_SETUP_XKB_EXTENSION_NO_FLAGS, nullptr, nullptr, &m_xkbEvent, nullptr))
        return;
    m_xkbContext.reset(xkb_context_new(XKB_CONTEXT_NO_FLAGS));
    if (!m_xkbContext)
        return;
    m_keymap.reset(xkb_x11_keymap_new_from_device(m_xkbContext.get(), connection,
                                                  xkb_x11_get_core_keyboard_device_id(connection),
                                                  XKB_KEYMAP_COMPILE_NO_FLAGS));
    // A state that never learns of any modifier gives what each key types on its own.
    if (m_keymap)
        m_baseState.reset(xkb_state_new(m_keymap.get()));
}

void X11KeyEventMonitors::watchRepeatSettings()
{
    if (!m_xkbEvent)
        return;
    constexpr auto controls = XCB_XKB_EVENT_TYPE_CONTROLS_NOTIFY;
    xcb_xkb_select_events(m_connection->get(), XCB_XKB_ID_USE_CORE_KBD, controls, 0, controls, 0, 0,
                          nullptr);
    readRepeatSettings();
}

void X11KeyEventMonitors::readRepeatSettings()
{
    auto* connection = m_connection->get();
    const auto controls = xcbOwned(xcb_xkb_get_controls_reply(
        connection, xcb_xkb_get_controls(connection, XCB_XKB_ID_USE_CORE_KBD), nullptr));
    if (!controls)
        return;
    m_repeat.setSettings({bool(controls->enabledControls & XCB_XKB_BOOL_CTRL_REPEAT_KEYS),
                          std::chrono::milliseconds(controls->repeatDelay),
                          std::chrono::milliseconds(controls->repeatInterval)});
}

void X11KeyEventMonitors::readEvents()
{
    auto* connection = m_connection->get();
    while (const auto event = xcbOwned(xcb_poll_for_event(connection))) {
        const auto type = event->response_type & 0x7f;
        if (m_xkbEvent && type == m_xkbEvent) {
            // Every XKB event shares one event code and says its own type next.
            const auto* xkb = reinterpret_cast<const xcb_xkb_controls_notify_event_t*>(event.get());
            if (xkb->xkbType == XCB_XKB_CONTROLS_NOTIFY)
                readRepeatSettings();
        } else if (type == XCB_GE_GENERIC) {
            const auto* raw = reinterpret_cast<const xcb_input_raw_key_press_event_t*>(event.get());
            if (raw->extension == m_xinputOpcode)
                handle(*raw);
        }
    }
    // A lost server would otherwise wake us for ever.
    if (xcb_connection_has_error(connection))
        m_notifier->setEnabled(false);
}

void X11KeyEventMonitors::handle(const xcb_input_raw_key_press_event_t& raw)
{
    if (raw.sourceid == m_xtestKeyboard && m_ownInjections.claim())
        return;
    const int xKeycode = static_cast<int>(raw.detail);
    std::optional<X11KeyTranslator::Translated> translated;
    if (raw.event_type == XCB_INPUT_RAW_KEY_PRESS) {
        translated = m_translator.press(xKeycode);
        m_repeat.pressed(xKeycode,
                         translated && translated->kind == Kind::keyDown && repeats(xKeycode));
    } else if (raw.event_type == XCB_INPUT_RAW_KEY_RELEASE) {
        translated = m_translator.release(xKeycode);
        m_repeat.released(xKeycode);
    }
    if (translated)
        deliver(xKeycode, *translated);
}

void X11KeyEventMonitors::deliver(int xKeycode, X11KeyTranslator::Translated translated)
{
    translated.event.characters = characters(xKeycode);
    m_registry.deliver(focusScope(), translated.kind, translated.event);
}

bool X11KeyEventMonitors::repeats(int xKeycode) const
{
    return !m_keymap || xkb_keymap_key_repeats(m_keymap.get(), xkb_keycode_t(xKeycode));
}

QString X11KeyEventMonitors::characters(int xKeycode) const
{
    if (!m_baseState)
        return {};
    char utf8[16] = {};
    xkb_state_key_get_utf8(m_baseState.get(), static_cast<xkb_keycode_t>(xKeycode), utf8,
                           sizeof utf8);
    return QString::fromUtf8(utf8);
}

// Raw events name no window. The server sends keys to the window with the input focus, and Qt
// knows whether that is one of ours; our floating panels never take the focus, so keys typed
// while they show still count as typed elsewhere.
KeyEventMonitors::Scope X11KeyEventMonitors::focusScope()
{
    return QGuiApplication::focusWindow() ? Scope::local : Scope::global;
}
