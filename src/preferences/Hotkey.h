#pragma once

#include <QString>

#include <array>
#include <cstdint>
#include <optional>

// The modifier key the user holds to dictate.
enum class Hotkey
{
    rightCommand,
    rightOption,
    fn
};

namespace Hotkeys {

inline constexpr std::array<Hotkey, 3> all{Hotkey::rightCommand, Hotkey::rightOption, Hotkey::fn};
inline constexpr Hotkey fallback = Hotkey::rightCommand;

// The stored form: "rightCommand", "rightOption" or "fn".
QString rawValue(Hotkey hotkey);
std::optional<Hotkey> fromRawValue(const QString& raw);

// Virtual key code of the physical key, and the modifier flag that is set while it is held.
int keyCode(Hotkey hotkey);
std::uint64_t modifierFlag(Hotkey hotkey);

QString pickerLabel(Hotkey hotkey);
QString hint(Hotkey hotkey);
// The key alone, as the screens that teach it name it: "right ⌘".
QString keyLabel(Hotkey hotkey);

// A label above, worded for a Linux keyboard: "Hold right ⌘" becomes "Hold right Super", and
// "⌥" becomes "Alt". What the user reads goes through here; the labels themselves stay as data.
QString forLinuxKeyboard(QString label);

} // namespace Hotkeys
