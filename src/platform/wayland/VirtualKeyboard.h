#pragma once

#include "platform/SyntheticKeyboard.h"

#include <cstdint>

class WaylandConnection;
struct zwp_virtual_keyboard_v1;

// Keystrokes through the compositor's virtual-keyboard protocol. One keyboard, with a US keymap
// of its own, lives as long as this object: keyboards made per keystroke lose keys while the
// compositor switches keymaps. Main thread only.
class VirtualKeyboard final : public SyntheticKeyboard
{
public:
    // `connection` must offer a seat and the virtual-keyboard manager.
    explicit VirtualKeyboard(WaylandConnection& connection);
    ~VirtualKeyboard() override;
    VirtualKeyboard(const VirtualKeyboard&) = delete;
    VirtualKeyboard& operator=(const VirtualKeyboard&) = delete;

    std::unique_ptr<Keystroke> makeKeystroke(int keyCode, std::uint64_t modifierFlags) override;

private:
    class VirtualKeystroke;
    struct Masks
    {
        std::uint32_t shift = 0;
        std::uint32_t control = 0;
        std::uint32_t alt = 0;
    };

    bool uploadKeymap();
    void send(std::uint32_t evdevCode, bool down, std::uint32_t modifiers);

    WaylandConnection& m_connection;
    zwp_virtual_keyboard_v1* m_keyboard = nullptr;
    Masks m_masks;
    bool m_ready = false;
};
