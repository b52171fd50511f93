#include "platform/wayland/SessionCapabilities.h"

#include <QStringList>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

QString offered(bool present)
{
    return present ? u"offered"_s : u"not offered"_s;
}

QString portalInterface(const QString& name, int version)
{
    return version > 0 ? u"%1 portal version %2"_s.arg(name).arg(version)
                       : u"no %1 portal"_s.arg(name);
}

QString holdName(SessionCapabilities::Hold hold)
{
    switch (hold) {
    case SessionCapabilities::Hold::x11Keys:
        return u"X11 key events"_s;
    case SessionCapabilities::Hold::globalShortcuts:
        return u"desktop shortcut (portal)"_s;
    case SessionCapabilities::Hold::keyboardDevices:
        return u"keyboard devices (evdev)"_s;
    case SessionCapabilities::Hold::compositorBindings:
        return u"compositor key bindings only"_s;
    }
    return {};
}

QString pasteName(SessionCapabilities::Paste paste)
{
    switch (paste) {
    case SessionCapabilities::Paste::xtest:
        return u"XTest"_s;
    case SessionCapabilities::Paste::virtualKeyboard:
        return u"virtual keyboard"_s;
    case SessionCapabilities::Paste::remoteDesktop:
        return u"remote desktop (portal)"_s;
    case SessionCapabilities::Paste::none:
        return u"none: you press Ctrl+V"_s;
    }
    return {};
}

const QString bindingAdvice = u"bind a key to “murmo --toggle” in your desktop's keyboard "
                              u"settings (or, where the desktop runs commands on press and on "
                              u"release, to “murmo --hold-begin” and “murmo --hold-end”)"_s;

} // namespace

SessionCapabilities::SessionCapabilities(const SessionProbe& probe)
    : m_probe(probe)
{}

SessionCapabilities SessionCapabilities::choose(const SessionProbe& probe)
{
    SessionCapabilities chosen(probe);
    if (probe.display == SessionProbe::Display::x11)
        return chosen;

    if (probe.globalShortcutsVersion > 0)
        chosen.m_hold = Hold::globalShortcuts;
    else if (probe.keyboardReadingChosen && probe.readableKeyboards > 0)
        chosen.m_hold = Hold::keyboardDevices;
    else
        chosen.m_hold = Hold::compositorBindings;

    // Without a seat there is no clipboard or keyboard to reach through the compositor.
    const bool remoteDesktop = probe.remoteDesktopVersion > 0 && probe.remoteDesktopKeyboard;
    if (probe.seat && probe.dataControl)
        chosen.m_clipboard = Clipboard::dataControl;
    else if (remoteDesktop && probe.clipboardVersion > 0)
        chosen.m_clipboard = Clipboard::portal;
    else
        chosen.m_clipboard = Clipboard::x11Selection;

    if (probe.seat && probe.virtualKeyboard)
        chosen.m_paste = Paste::virtualKeyboard;
    else if (remoteDesktop)
        chosen.m_paste = Paste::remoteDesktop;
    else
        chosen.m_paste = Paste::none;
    return chosen;
}

QList<SessionCapabilities::Row> SessionCapabilities::rows() const
{
    if (m_probe.display == SessionProbe::Display::x11) {
        const QString probed = u"X11 session"_s;
        return {
            {u"Hold key"_s, probed, holdName(m_hold), u"XInput 2 raw key events"_s},
            {u"Clipboard"_s, probed, u"X11 selection"_s, u"the X server's clipboard"_s},
            {u"Paste keystroke"_s, probed, pasteName(m_paste), u"Ctrl+V through XTest"_s},
        };
    }

    return {
        {u"Hold key"_s, holdProbed(), holdName(m_hold), holdReason()}, clipboardRow(), pasteRow()};
}

QString SessionCapabilities::remoteDesktopProbed() const
{
    QString probed = portalInterface(u"RemoteDesktop"_s, m_probe.remoteDesktopVersion);
    if (m_probe.remoteDesktopVersion > 0 && !m_probe.remoteDesktopKeyboard)
        probed += u" without a keyboard"_s;
    return probed;
}

SessionCapabilities::Row SessionCapabilities::clipboardRow() const
{
    const QString probed = u"data-control %1%2; %3; %4"_s.arg(
        offered(m_probe.dataControl), m_probe.seat ? QString() : u"; no seat"_s,
        portalInterface(u"Clipboard"_s, m_probe.clipboardVersion), remoteDesktopProbed());
    switch (m_clipboard) {
    case Clipboard::dataControl:
        return {u"Clipboard"_s, probed, u"data-control"_s,
                u"the compositor lets Murmo read and set the clipboard without focus"_s};
    case Clipboard::portal:
        return {u"Clipboard"_s, probed, u"clipboard (portal)"_s,
                u"the desktop shares the clipboard with Murmo once you allow remote control"_s};
    case Clipboard::x11Selection:
        break;
    }
    return {u"Clipboard"_s, probed, u"XWayland selection"_s,
            u"nothing reaches the Wayland clipboard without focus; the X clipboard of XWayland "
            u"is used, which the compositor may not pass on to Wayland applications"_s};
}

SessionCapabilities::Row SessionCapabilities::pasteRow() const
{
    const QString probed = u"virtual keyboard %1%2; %3"_s.arg(
        offered(m_probe.virtualKeyboard), m_probe.seat ? QString() : u"; no seat"_s,
        remoteDesktopProbed());
    QString reason;
    switch (m_paste) {
    case Paste::virtualKeyboard:
        reason = u"the compositor takes keystrokes from a virtual keyboard"_s;
        break;
    case Paste::remoteDesktop:
        reason = u"the desktop posts keystrokes for Murmo once you allow remote control"_s;
        break;
    case Paste::xtest:
    case Paste::none:
        reason = u"nothing here posts keystrokes to other applications: the text stays on the "
                 u"clipboard"_s;
        break;
    }
    return {u"Paste keystroke"_s, probed, pasteName(m_paste), reason};
}

QString SessionCapabilities::holdProbed() const
{
    const QString reading =
        m_probe.keyboardReadingChosen ? u"keyboard reading on"_s : u"keyboard reading off"_s;
    return u"%1; %2 of %3 keyboards readable; %4"_s
        .arg(portalInterface(u"GlobalShortcuts"_s, m_probe.globalShortcutsVersion))
        .arg(m_probe.readableKeyboards)
        .arg(m_probe.keyboards)
        .arg(reading);
}

QString SessionCapabilities::holdReason() const
{
    switch (m_hold) {
    case Hold::globalShortcuts:
        return u"the desktop holds the shortcut: pick its key in the desktop's shortcut settings "
               u"(suggested: %1, as a modifier alone is often refused there)"_s.arg(
                   suggestedShortcut());
    case Hold::keyboardDevices:
        return u"keyboard reading is on and a keyboard is readable"_s;
    case Hold::compositorBindings:
        if (m_probe.keyboardReadingChosen)
            return u"keyboard reading is on, but no keyboard under /dev/input is readable (join "
                   u"the group “input”); meanwhile, "_s +
                   bindingAdvice;
        return u"nothing here watches keys for Murmo: "_s + bindingAdvice;
    case Hold::x11Keys:
        break;
    }
    return {};
}

QString SessionCapabilities::report() const
{
    const QList<Row> lines = rows();
    const QString session =
        m_probe.display == SessionProbe::Display::x11
            ? u"Session: X11"_s
            : u"Session: Wayland (%1), Murmo's windows on XWayland"_s.arg(m_probe.waylandDisplay);
    qsizetype capabilityWidth = 0;
    for (const Row& row : lines)
        capabilityWidth = std::max(capabilityWidth, row.capability.size());
    QStringList text{session, QString()};
    for (const Row& row : lines) {
        text << row.capability.leftJustified(capabilityWidth + 2) + row.chosen;
        const QString indent(capabilityWidth + 2, u' ');
        text << indent + u"probed: "_s + row.probed;
        text << indent + u"why:    "_s + row.reason;
    }
    return text.join(u'\n') + u'\n';
}

QString SessionCapabilities::keyAdvice() const
{
    const QString reading =
        m_probe.keyboardReadingChosen
            ? u"join the group “input” so that Murmo can read the keyboards"_s
            : u"turn on keyboard reading (“Read keyboards directly” in Murmo's tray menu)"_s;
    return u"log in to an X11 session, %1, or %2"_s.arg(reading, bindingAdvice);
}

std::optional<QString> SessionCapabilities::limitation() const
{
    const bool noKey = m_hold == Hold::compositorBindings;
    const bool noPaste = m_paste == Paste::none;
    if (!noKey && !noPaste)
        return std::nullopt;
    if (noKey && noPaste)
        return u"This Wayland session lets Murmo neither watch the hold key nor paste. Click the "
               u"pill to dictate; the text is then copied for you to paste with Ctrl+V. To "
               u"dictate with a key, "_s +
               keyAdvice() + u"."_s;
    if (noKey)
        return u"This Wayland session does not let Murmo watch the hold key. Click the pill to "
               u"dictate, or "_s +
               keyAdvice() + u"."_s;
    return u"This Wayland session does not let Murmo paste into other applications: each "
           u"dictation is copied for you to paste with Ctrl+V. Log in to an X11 session to have "
           u"it pasted for you."_s;
}

QString SessionCapabilities::keyboardReadingWarning()
{
    return u"Murmo reads the keyboards under /dev/input only if you turn this on, and only when "
           u"you are in the group “input”. Membership of that group lets every program you run "
           u"read every keystroke, passwords included."_s;
}
