#include "platform/linux/X11KeyTranslator.h"

#include <algorithm>
#include <array>

namespace {

struct KeyInfo
{
    int xKeycode;
    int keyCode;
    std::uint64_t modifierFlags; // what the key sets while held; zero for other keys
};

// Caps Lock toggles a lock rather than being held; still, like a modifier it changes flags and
// types nothing, so it makes flags-changed events (with no flag of its own).
constexpr int capsLockXKeycode = 66;

// X keycodes of a standard evdev keyboard with their virtual key codes.
// clang-format off
constexpr std::array keys{
    // modifiers; the Fn key has no X keycode at all
    KeyInfo{50, 56, ModifierFlags::shift},    KeyInfo{62, 60, ModifierFlags::shift},
    KeyInfo{37, 59, ModifierFlags::control},  KeyInfo{105, 62, ModifierFlags::control},
    KeyInfo{64, 58, ModifierFlags::option},
    KeyInfo{108, 61, ModifierFlags::option | ModifierFlags::rightOptionKey},
    KeyInfo{133, 55, ModifierFlags::command},
    KeyInfo{134, 54, ModifierFlags::command | ModifierFlags::rightCommandKey},
    // letters
    KeyInfo{38, 0, 0},  KeyInfo{56, 11, 0}, KeyInfo{54, 8, 0},  KeyInfo{40, 2, 0},
    KeyInfo{26, 14, 0}, KeyInfo{41, 3, 0},  KeyInfo{42, 5, 0},  KeyInfo{43, 4, 0},
    KeyInfo{31, 34, 0}, KeyInfo{44, 38, 0}, KeyInfo{45, 40, 0}, KeyInfo{46, 37, 0},
    KeyInfo{58, 46, 0}, KeyInfo{57, 45, 0}, KeyInfo{32, 31, 0}, KeyInfo{33, 35, 0},
    KeyInfo{24, 12, 0}, KeyInfo{27, 15, 0}, KeyInfo{39, 1, 0},  KeyInfo{28, 17, 0},
    KeyInfo{30, 32, 0}, KeyInfo{55, 9, 0},  KeyInfo{25, 13, 0}, KeyInfo{53, 7, 0},
    KeyInfo{29, 16, 0}, KeyInfo{52, 6, 0},
    // digits 1 to 9 and 0
    KeyInfo{10, 18, 0}, KeyInfo{11, 19, 0}, KeyInfo{12, 20, 0}, KeyInfo{13, 21, 0},
    KeyInfo{14, 23, 0}, KeyInfo{15, 22, 0}, KeyInfo{16, 26, 0}, KeyInfo{17, 28, 0},
    KeyInfo{18, 25, 0}, KeyInfo{19, 29, 0},
    // punctuation: - = [ ] \ ; ' ` , . / and the extra key of ISO keyboards
    KeyInfo{20, 27, 0}, KeyInfo{21, 24, 0}, KeyInfo{34, 33, 0}, KeyInfo{35, 30, 0},
    KeyInfo{51, 42, 0}, KeyInfo{47, 41, 0}, KeyInfo{48, 39, 0}, KeyInfo{49, 50, 0},
    KeyInfo{59, 43, 0}, KeyInfo{60, 47, 0}, KeyInfo{61, 44, 0}, KeyInfo{94, 10, 0},
    // editing and navigation: Escape, Backspace, Tab, Return, space, Caps Lock, Insert (Help),
    // Delete, Home, End, Page Up, Page Down, arrows left, right, down, up, Menu
    KeyInfo{9, 53, 0},    KeyInfo{22, 51, 0},  KeyInfo{23, 48, 0},  KeyInfo{36, 36, 0},
    KeyInfo{65, 49, 0},   KeyInfo{66, 57, 0},  KeyInfo{118, 114, 0}, KeyInfo{119, 117, 0},
    KeyInfo{110, 115, 0}, KeyInfo{115, 119, 0}, KeyInfo{112, 116, 0}, KeyInfo{117, 121, 0},
    KeyInfo{113, 123, 0}, KeyInfo{114, 124, 0}, KeyInfo{116, 125, 0}, KeyInfo{111, 126, 0},
    KeyInfo{135, 110, 0},
    // function keys F1 to F20
    KeyInfo{67, 122, 0},  KeyInfo{68, 120, 0},  KeyInfo{69, 99, 0},   KeyInfo{70, 118, 0},
    KeyInfo{71, 96, 0},   KeyInfo{72, 97, 0},   KeyInfo{73, 98, 0},   KeyInfo{74, 100, 0},
    KeyInfo{75, 101, 0},  KeyInfo{76, 109, 0},  KeyInfo{95, 103, 0},  KeyInfo{96, 111, 0},
    KeyInfo{191, 105, 0}, KeyInfo{192, 107, 0}, KeyInfo{193, 113, 0}, KeyInfo{194, 106, 0},
    KeyInfo{195, 64, 0},  KeyInfo{196, 79, 0},  KeyInfo{197, 80, 0},  KeyInfo{198, 90, 0},
    // keypad: 0 to 9, . * + / - Enter =, Num Lock (Clear)
    KeyInfo{90, 82, 0},  KeyInfo{87, 83, 0},  KeyInfo{88, 84, 0},  KeyInfo{89, 85, 0},
    KeyInfo{83, 86, 0},  KeyInfo{84, 87, 0},  KeyInfo{85, 88, 0},  KeyInfo{79, 89, 0},
    KeyInfo{80, 91, 0},  KeyInfo{81, 92, 0},  KeyInfo{91, 65, 0},  KeyInfo{63, 67, 0},
    KeyInfo{86, 69, 0},  KeyInfo{106, 75, 0}, KeyInfo{82, 78, 0},  KeyInfo{104, 76, 0},
    KeyInfo{125, 81, 0}, KeyInfo{77, 71, 0},
};
// clang-format on

const KeyInfo* find(int xKeycode)
{
    const auto found = std::find_if(keys.begin(), keys.end(),
                                    [&](const KeyInfo& key) { return key.xKeycode == xKeycode; });
    return found == keys.end() ? nullptr : &*found;
}

bool isModifier(const KeyInfo& key)
{
    return key.modifierFlags != 0 || key.xKeycode == capsLockXKeycode;
}

} // namespace

std::optional<X11KeyTranslator::Translated> X11KeyTranslator::press(int xKeycode)
{
    const auto* key = find(xKeycode);
    if (!key)
        return std::nullopt;
    if (!isModifier(*key))
        return Translated{KeyEventMonitors::Kind::keyDown, {key->keyCode, modifierFlags(), {}}};
    if (!m_pressedModifiers.insert(xKeycode).second)
        return std::nullopt;
    return Translated{KeyEventMonitors::Kind::flagsChanged, {key->keyCode, modifierFlags(), {}}};
}

std::optional<X11KeyTranslator::Translated> X11KeyTranslator::release(int xKeycode)
{
    const auto* key = find(xKeycode);
    if (!key || !isModifier(*key))
        return std::nullopt;
    m_pressedModifiers.erase(xKeycode);
    return Translated{KeyEventMonitors::Kind::flagsChanged, {key->keyCode, modifierFlags(), {}}};
}

std::uint64_t X11KeyTranslator::modifierFlags() const
{
    std::uint64_t flags = 0;
    for (const int xKeycode : m_pressedModifiers)
        flags |= find(xKeycode)->modifierFlags;
    return flags;
}
