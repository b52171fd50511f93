#include "platform/wayland/VirtualKeyboard.h"

#include "platform/KeyEventMonitors.h"
#include "platform/linux/X11KeyTranslator.h"
#include "platform/wayland/WaylandConnection.h"

#include "virtual-keyboard-unstable-v1-client-protocol.h"

#include <wayland-client.h>
#include <xkbcommon/xkbcommon.h>

#include <sys/mman.h>
#include <unistd.h>

#include <chrono>
#include <cstring>

namespace {

constexpr int xKeycodeOffset = 8;

// The kernel code of the key at the position our key code names, from the same table the key
// monitor reads; none for codes outside it and for modifier keys.
std::optional<std::uint32_t> evdevCode(int keyCode)
{
    for (int xKeycode = xKeycodeOffset; xKeycode < 256; ++xKeycode) {
        X11KeyTranslator translator;
        const auto translated = translator.press(xKeycode);
        if (translated && translated->kind == KeyEventMonitors::Kind::keyDown &&
            translated->event.keyCode == keyCode)
            return static_cast<std::uint32_t>(xKeycode - xKeycodeOffset);
    }
    return std::nullopt;
}

std::uint32_t milliseconds()
{
    using namespace std::chrono;
    return static_cast<std::uint32_t>(
        duration_cast<std::chrono::milliseconds>(steady_clock::now().time_since_epoch()).count());
}

std::uint32_t maskOf(xkb_keymap* keymap, const char* name)
{
    const xkb_mod_index_t index = xkb_keymap_mod_get_index(keymap, name);
    return index == XKB_MOD_INVALID ? 0 : 1u << index;
}

} // namespace

class VirtualKeyboard::VirtualKeystroke final : public Keystroke
{
public:
    VirtualKeystroke(VirtualKeyboard& keyboard, std::uint32_t code, std::uint32_t modifiers)
        : m_keyboard(keyboard)
        , m_code(code)
        , m_modifiers(modifiers)
    {}
    ~VirtualKeystroke() override
    {
        if (m_down)
            postKeyUp();
    }

    void postKeyDown() override
    {
        m_down = true;
        m_keyboard.send(m_code, true, m_modifiers);
    }
    void postKeyUp() override
    {
        m_down = false;
        m_keyboard.send(m_code, false, m_modifiers);
    }

private:
    VirtualKeyboard& m_keyboard;
    std::uint32_t m_code;
    std::uint32_t m_modifiers;
    bool m_down = false;
};

VirtualKeyboard::VirtualKeyboard(WaylandConnection& connection)
    : m_connection(connection)
{
    m_keyboard = zwp_virtual_keyboard_manager_v1_create_virtual_keyboard(
        connection.virtualKeyboard(), connection.seat());
    m_ready = uploadKeymap() && m_connection.roundtrip();
}

VirtualKeyboard::~VirtualKeyboard()
{
    if (m_keyboard)
        zwp_virtual_keyboard_v1_destroy(m_keyboard);
    m_connection.flush();
}

bool VirtualKeyboard::uploadKeymap()
{
    xkb_context* context = xkb_context_new(XKB_CONTEXT_NO_FLAGS);
    if (!context)
        return false;
    // The paste chord is sent by key position, so any layout with the keys in their usual
    // places will do.
    const xkb_rule_names names{
        .rules = "evdev", .model = "pc105", .layout = "us", .variant = nullptr, .options = nullptr};
    xkb_keymap* keymap = xkb_keymap_new_from_names(context, &names, XKB_KEYMAP_COMPILE_NO_FLAGS);
    bool uploaded = false;
    if (keymap) {
        m_masks = {maskOf(keymap, XKB_MOD_NAME_SHIFT), maskOf(keymap, XKB_MOD_NAME_CTRL),
                   maskOf(keymap, XKB_MOD_NAME_ALT)};
        char* text = xkb_keymap_get_as_string(keymap, XKB_KEYMAP_FORMAT_TEXT_V1);
        const std::size_t size = std::strlen(text) + 1;
        const int fd = ::memfd_create("murmo-keymap", MFD_CLOEXEC);
        if (fd >= 0 && ::write(fd, text, size) == static_cast<ssize_t>(size)) {
            zwp_virtual_keyboard_v1_keymap(m_keyboard, WL_KEYBOARD_KEYMAP_FORMAT_XKB_V1, fd,
                                           static_cast<std::uint32_t>(size));
            uploaded = true;
        }
        if (fd >= 0)
            ::close(fd);
        std::free(text);
        xkb_keymap_unref(keymap);
    }
    xkb_context_unref(context);
    return uploaded;
}

std::unique_ptr<SyntheticKeyboard::Keystroke> VirtualKeyboard::makeKeystroke(int keyCode,
                                                                             std::uint64_t flags)
{
    const std::optional<std::uint32_t> code = evdevCode(keyCode);
    if (!m_ready || !code || m_connection.broken())
        return nullptr;
    std::uint32_t modifiers = 0;
    // Command stands for Control on a Linux keyboard, as in the paste chord.
    if (flags & (ModifierFlags::command | ModifierFlags::control))
        modifiers |= m_masks.control;
    if (flags & ModifierFlags::shift)
        modifiers |= m_masks.shift;
    if (flags & ModifierFlags::option)
        modifiers |= m_masks.alt;
    return std::make_unique<VirtualKeystroke>(*this, *code, modifiers);
}

void VirtualKeyboard::send(std::uint32_t evdevCode, bool down, std::uint32_t modifiers)
{
    // The modifiers are stated rather than pressed: the chord carries exactly these, whatever
    // the user holds on the real keyboard.
    if (down)
        zwp_virtual_keyboard_v1_modifiers(m_keyboard, modifiers, 0, 0, 0);
    zwp_virtual_keyboard_v1_key(m_keyboard, milliseconds(), evdevCode,
                                down ? WL_KEYBOARD_KEY_STATE_PRESSED
                                     : WL_KEYBOARD_KEY_STATE_RELEASED);
    if (!down)
        zwp_virtual_keyboard_v1_modifiers(m_keyboard, 0, 0, 0, 0);
    m_connection.flush();
}
