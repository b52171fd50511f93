#include "preferences/Hotkey.h"

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

struct HotkeyInfo
{
    Hotkey hotkey;
    QStringView raw;
    int keyCode;
    std::uint64_t flag;
    QStringView pickerLabel;
    QStringView hint;
    QStringView keyLabel;
};

constexpr std::array<HotkeyInfo, 3> table{{
    {Hotkey::rightCommand, u"rightCommand", 54, 0x100000, u"Hold right ⌘",
     u"Hold right ⌘ to dictate", u"right ⌘"},
    {Hotkey::rightOption, u"rightOption", 61, 0x80000, u"Hold right ⌥", u"Hold right ⌥ to dictate",
     u"right ⌥"},
    {Hotkey::fn, u"fn", 63, 0x800000, u"Hold fn (🌐)", u"Hold fn to dictate", u"fn"},
}};

const HotkeyInfo& info(Hotkey hotkey)
{
    return table[static_cast<std::size_t>(hotkey)];
}

} // namespace

namespace Hotkeys {

QString rawValue(Hotkey hotkey)
{
    return info(hotkey).raw.toString();
}

std::optional<Hotkey> fromRawValue(const QString& raw)
{
    const auto found =
        std::find_if(table.begin(), table.end(), [&](const HotkeyInfo& i) { return i.raw == raw; });
    if (found == table.end())
        return std::nullopt;
    return found->hotkey;
}

int keyCode(Hotkey hotkey)
{
    return info(hotkey).keyCode;
}

std::uint64_t modifierFlag(Hotkey hotkey)
{
    return info(hotkey).flag;
}

QString pickerLabel(Hotkey hotkey)
{
    return info(hotkey).pickerLabel.toString();
}

QString hint(Hotkey hotkey)
{
    return info(hotkey).hint.toString();
}

QString keyLabel(Hotkey hotkey)
{
    return info(hotkey).keyLabel.toString();
}

QString forLinuxKeyboard(QString label)
{
    return label.replace(u"⌘"_s, u"Super"_s).replace(u"⌥"_s, u"Alt"_s);
}

} // namespace Hotkeys
