#include "platform/linux/X11SyntheticKeyboard.h"

#include "platform/KeyEventMonitors.h"
#include "platform/linux/TerminalWindows.h"
#include "platform/linux/X11Atoms.h"
#include "platform/linux/XTestInjectionMarker.h"
#include "platform/linux/XcbConnection.h"

#include <QByteArray>

// xcb's XKB header names a member `explicit`.
#define explicit xcb_explicit
#include <xcb/xkb.h>
#undef explicit
#include <xcb/xtest.h>
#include <xkbcommon/xkbcommon-x11.h>

#include <algorithm>
#include <array>
#include <bitset>
#include <optional>
#include <span>
#include <vector>

namespace {

// How long the key monitors wait for our events to come back before counting them as typing.
constexpr std::chrono::milliseconds injectionSpan{1000};

constexpr int virtualKeyV = 9;

constexpr std::array modifierKeysyms{
    XKB_KEY_Shift_L,
    XKB_KEY_Shift_R,
    XKB_KEY_Control_L,
    XKB_KEY_Control_R,
    XKB_KEY_Alt_L,
    XKB_KEY_Alt_R,
    XKB_KEY_Meta_L,
    XKB_KEY_Meta_R,
    XKB_KEY_Super_L,
    XKB_KEY_Super_R,
    XKB_KEY_Hyper_L,
    XKB_KEY_Hyper_R,
    XKB_KEY_ISO_Level3_Shift,
    XKB_KEY_ISO_Level5_Shift,
};

using Keycodes = std::vector<xcb_keycode_t>;
using KeymapPtr = std::unique_ptr<xkb_keymap, decltype(&xkb_keymap_unref)>;
using StatePtr = std::unique_ptr<xkb_state, decltype(&xkb_state_unref)>;

// The letters the program posts, by its virtual key code.
std::optional<xkb_keysym_t> keysymFor(int keyCode)
{
    if (keyCode == virtualKeyV)
        return XKB_KEY_v;
    return std::nullopt;
}

// The key whose unmodified level in `layout` is one of `keysyms`.
std::optional<xcb_keycode_t> findKey(xkb_keymap* keymap, xkb_layout_index_t layout,
                                     std::span<const xkb_keysym_t> keysyms)
{
    for (xkb_keycode_t key = xkb_keymap_min_keycode(keymap); key <= xkb_keymap_max_keycode(keymap);
         ++key) {
        const xkb_keysym_t* syms = nullptr;
        const int count = xkb_keymap_key_get_syms_by_level(keymap, key, layout, 0, &syms);
        for (int i = 0; i < count; ++i) {
            if (std::ranges::find(keysyms, syms[i]) != keysyms.end())
                return xcb_keycode_t(key);
        }
    }
    return std::nullopt;
}

Keycodes modifierKeys(xkb_keymap* keymap, xkb_layout_index_t layout)
{
    Keycodes keys;
    for (xkb_keycode_t key = xkb_keymap_min_keycode(keymap); key <= xkb_keymap_max_keycode(keymap);
         ++key) {
        const xkb_keysym_t* syms = nullptr;
        const int count = xkb_keymap_key_get_syms_by_level(keymap, key, layout, 0, &syms);
        if (count > 0 && std::ranges::find(modifierKeysyms, syms[0]) != modifierKeysyms.end())
            keys.push_back(xcb_keycode_t(key));
    }
    return keys;
}

std::bitset<256> pressedKeys(xcb_connection_t* connection)
{
    std::bitset<256> pressed;
    const auto reply =
        xcbOwned(xcb_query_keymap_reply(connection, xcb_query_keymap(connection), nullptr));
    if (!reply)
        return pressed;
    for (std::size_t key = 0; key < pressed.size(); ++key)
        pressed[key] = (reply->keys[key / 8] >> (key % 8)) & 1;
    return pressed;
}

} // namespace

// One chord: its keys, and the layout it must be typed in when that is not the active one.
class X11SyntheticKeyboard::Chord final : public Keystroke
{
public:
    struct Plan
    {
        Keycodes modifiers; // pressed in order, released in reverse
        xcb_keycode_t key = 0;
        std::optional<std::uint8_t> layout;
        std::uint8_t lockedLayout = 0; // to lock again after the chord
        Keycodes modifierKeys;         // every modifier key, to find those the user holds
    };

    Chord(XcbConnection& connection, XTestInjectionMarker& ownInjections, Plan plan)
        : m_connection(connection)
        , m_ownInjections(ownInjections)
        , m_plan(std::move(plan))
    {}
    ~Chord() override { postKeyUp(); }

    void postKeyDown() override
    {
        auto* connection = m_connection.get();
        const std::bitset<256> pressed = pressedKeys(connection);
        Keycodes held;
        std::ranges::copy_if(m_plan.modifierKeys, std::back_inserter(held),
                             [&](xcb_keycode_t key) { return pressed[key]; });
        announce(held.size() + m_plan.modifiers.size() + 1);
        for (const xcb_keycode_t key : held)
            send(false, key);
        m_connection.sync();
        // XTest lifts only what went down through XTest; a key the user holds on a real
        // keyboard stays down, and must not be pressed again afterwards.
        const std::bitset<256> stillPressed = pressedKeys(connection);
        std::ranges::copy_if(held, std::back_inserter(m_lifted),
                             [&](xcb_keycode_t key) { return !stillPressed[key]; });

        if (m_plan.layout)
            lockLayout(*m_plan.layout);
        for (const xcb_keycode_t key : m_plan.modifiers)
            send(true, key);
        send(true, m_plan.key);
        m_connection.sync();
        m_down = true;
    }

    void postKeyUp() override
    {
        if (!std::exchange(m_down, false))
            return;
        announce(m_plan.modifiers.size() + 1 + m_lifted.size());
        send(false, m_plan.key);
        for (auto key = m_plan.modifiers.rbegin(); key != m_plan.modifiers.rend(); ++key)
            send(false, *key);
        if (m_plan.layout)
            lockLayout(m_plan.lockedLayout);
        for (const xcb_keycode_t key : m_lifted)
            send(true, key);
        m_connection.sync();
    }

private:
    void announce(std::size_t keyEvents)
    {
        m_ownInjections.markInjecting(int(keyEvents), injectionSpan);
    }

    void send(bool press, xcb_keycode_t key)
    {
        xcb_test_fake_input(m_connection.get(), press ? XCB_KEY_PRESS : XCB_KEY_RELEASE, key,
                            XCB_CURRENT_TIME, XCB_NONE, 0, 0, 0);
    }

    // The server applies it between the key events around it, in request order.
    void lockLayout(std::uint8_t layout)
    {
        xcb_xkb_latch_lock_state(m_connection.get(), XCB_XKB_ID_USE_CORE_KBD, 0, 0, true, layout, 0,
                                 false, 0);
    }

    XcbConnection& m_connection;
    XTestInjectionMarker& m_ownInjections;
    Plan m_plan;
    Keycodes m_lifted; // the user's modifiers taken up for the chord
    bool m_down = false;
};

X11SyntheticKeyboard::X11SyntheticKeyboard(XTestInjectionMarker& ownInjections)
    : m_ownInjections(ownInjections)
    , m_connection(XcbConnection::open())
    , m_xkbContext(nullptr, &xkb_context_unref)
{
    if (!m_connection || !m_connection->hasXTest()) {
        m_connection.reset();
        return;
    }
    auto* connection = m_connection->get();
    if (!xkb_x11_setup_xkb_extension(
            connection, XKB_X11_MIN_MAJOR_XKB_VERSION, XKB_X11_MIN_MINOR_XKB_VERSION,
            XKB_X11_SETUP_XKB_EXTENSION_NO_FLAGS, nullptr, nullptr, nullptr, nullptr))
        return;
    m_xkbContext.reset(xkb_context_new(XKB_CONTEXT_NO_FLAGS));
    m_keyboardDevice = xkb_x11_get_core_keyboard_device_id(connection);
    m_activeWindowAtom = internAtoms<1>(connection, {"_NET_ACTIVE_WINDOW"})[0];
}

X11SyntheticKeyboard::~X11SyntheticKeyboard() = default;

std::unique_ptr<SyntheticKeyboard::Keystroke>
X11SyntheticKeyboard::makeKeystroke(int keyCode, std::uint64_t modifierFlags)
{
    const std::optional<xkb_keysym_t> keysym = keysymFor(keyCode);
    if (!m_xkbContext || !keysym || m_keyboardDevice < 0 ||
        (modifierFlags & ModifierFlags::function))
        return nullptr;
    // Read afresh: the user may have changed layouts since the last keystroke.
    auto* connection = m_connection->get();
    const KeymapPtr keymap(xkb_x11_keymap_new_from_device(m_xkbContext.get(), connection,
                                                          m_keyboardDevice,
                                                          XKB_KEYMAP_COMPILE_NO_FLAGS),
                           &xkb_keymap_unref);
    if (!keymap)
        return nullptr;
    const StatePtr state(xkb_x11_state_new_from_device(keymap.get(), connection, m_keyboardDevice),
                         &xkb_state_unref);
    if (!state)
        return nullptr;

    const xkb_layout_index_t active =
        xkb_state_serialize_layout(state.get(), XKB_STATE_LAYOUT_EFFECTIVE);
    Chord::Plan plan;
    plan.lockedLayout =
        std::uint8_t(xkb_state_serialize_layout(state.get(), XKB_STATE_LAYOUT_LOCKED));
    const std::span<const xkb_keysym_t> wanted(&*keysym, 1);
    std::optional<xcb_keycode_t> key = findKey(keymap.get(), active, wanted);
    xkb_layout_index_t layout = active;
    for (xkb_layout_index_t other = 0; !key && other < xkb_keymap_num_layouts(keymap.get());
         ++other) {
        key = findKey(keymap.get(), other, wanted);
        layout = other;
    }
    if (!key)
        return nullptr;
    plan.key = *key;
    if (layout != active)
        plan.layout = std::uint8_t(layout);

    std::vector<std::array<xkb_keysym_t, 2>> modifiers;
    if (modifierFlags & (ModifierFlags::command | ModifierFlags::control))
        modifiers.push_back({XKB_KEY_Control_L, XKB_KEY_Control_R});
    if (modifierFlags & ModifierFlags::option)
        modifiers.push_back({XKB_KEY_Alt_L, XKB_KEY_Alt_R});
    const bool paste = *keysym == XKB_KEY_v && (modifierFlags & ModifierFlags::command);
    if ((modifierFlags & ModifierFlags::shift) || (paste && focusIsTerminal()))
        modifiers.push_back({XKB_KEY_Shift_L, XKB_KEY_Shift_R});
    for (const auto& keysyms : modifiers) {
        const std::optional<xcb_keycode_t> modifier = findKey(keymap.get(), layout, keysyms);
        if (!modifier)
            return nullptr;
        plan.modifiers.push_back(*modifier);
    }
    plan.modifierKeys = modifierKeys(keymap.get(), active);
    return std::make_unique<Chord>(*m_connection, m_ownInjections, std::move(plan));
}

// The window that gets the keys: the window manager's active window, else the input focus,
// looked up through its ancestors for the WM_CLASS a top-level window carries.
bool X11SyntheticKeyboard::focusIsTerminal() const
{
    auto* connection = m_connection->get();
    xcb_window_t window = XCB_NONE;
    if (m_activeWindowAtom != XCB_NONE) {
        const auto active = xcbOwned(
            xcb_get_property_reply(connection,
                                   xcb_get_property(connection, false, m_connection->root(),
                                                    m_activeWindowAtom, XCB_ATOM_WINDOW, 0, 1),
                                   nullptr));
        if (active && xcb_get_property_value_length(active.get()) == 4)
            window = *static_cast<const xcb_window_t*>(xcb_get_property_value(active.get()));
    }
    if (window == XCB_NONE) {
        const auto focus = xcbOwned(
            xcb_get_input_focus_reply(connection, xcb_get_input_focus(connection), nullptr));
        if (focus && focus->focus != XCB_INPUT_FOCUS_POINTER_ROOT)
            window = focus->focus;
    }
    while (window != XCB_NONE && window != m_connection->root()) {
        const auto wmClass = xcbOwned(xcb_get_property_reply(
            connection,
            xcb_get_property(connection, false, window, XCB_ATOM_WM_CLASS, XCB_ATOM_STRING, 0, 64),
            nullptr));
        if (wmClass && xcb_get_property_value_length(wmClass.get()) > 0)
            return TerminalWindows::isTerminal(
                QByteArray(static_cast<const char*>(xcb_get_property_value(wmClass.get())),
                           xcb_get_property_value_length(wmClass.get())));
        const auto tree =
            xcbOwned(xcb_query_tree_reply(connection, xcb_query_tree(connection, window), nullptr));
        window = tree ? tree->parent : XCB_NONE;
    }
    return false;
}
