#include "platform/linux/TerminalWindows.h"

#include <QList>

#include <algorithm>
#include <array>
#include <string_view>

namespace {

// Lower-case instance or class names; the list every terminal question of the program reads.
constexpr std::array<std::string_view, 44> terminals{
    "alacritty",
    "aterm",
    "blackbox",
    "com.gexperts.tilix",
    "com.mitchellh.ghostty",
    "com.raggesilver.blackbox",
    "contour",
    "cool-retro-term",
    "deepin-terminal",
    "eterm",
    "footclient",
    "foot",
    "ghostty",
    "gnome-terminal",
    "gnome-terminal-server",
    "guake",
    "kgx",
    "kitty",
    "konsole",
    "kterm",
    "lxterminal",
    "mate-terminal",
    "mlterm",
    "org.gnome.console",
    "org.gnome.ptyxis",
    "org.gnome.terminal",
    "org.wezfurlong.wezterm",
    "ptyxis",
    "qterminal",
    "roxterm",
    "rxvt",
    "sakura",
    "st",
    "st-256color",
    "terminator",
    "terminology",
    "tilda",
    "tilix",
    "urxvt",
    "uxterm",
    "wezterm",
    "xfce4-terminal",
    "xterm",
    "yakuake",
};

} // namespace

bool TerminalWindows::isTerminal(const QByteArray& wmClass)
{
    const QList<QByteArray> names = wmClass.split('\0');
    return std::ranges::any_of(names, [](const QByteArray& name) {
        const QByteArray lower = name.toLower();
        const std::string_view view(lower.constData(), lower.size());
        return !view.empty() && std::ranges::find(terminals, view) != terminals.end();
    });
}
