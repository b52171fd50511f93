#pragma once

#include "platform/wayland/SessionProbe.h"

#include <QList>
#include <QString>

#include <optional>

// Which mechanism serves each of the three desktop services dictation needs, chosen from what
// the session offers (never from the desktop's name), with the reasons in words for the user.
class SessionCapabilities
{
public:
    enum class Hold
    {
        x11Keys,            // XInput 2 on the X server
        globalShortcuts,    // the desktop portal's shortcut, held between Activated and Deactivated
        keyboardDevices,    // reading /dev/input keyboards (the user's opt-in)
        compositorBindings, // only `murmo --hold-begin` / `--hold-end` / `--toggle` from bindings
    };
    enum class Clipboard
    {
        x11Selection, // the X server's selection (the XWayland one in a Wayland session)
        dataControl,  // the compositor's data-control protocol
        portal,       // the desktop's Clipboard portal, inside the RemoteDesktop session
    };
    enum class Paste
    {
        xtest,
        virtualKeyboard,
        remoteDesktop,
        none, // the text stays on the clipboard for the user to paste
    };

    // One line of the report: what was asked, what was chosen, why.
    struct Row
    {
        QString capability;
        QString probed;
        QString chosen;
        QString reason;
    };

    static SessionCapabilities choose(const SessionProbe& probe);

    const SessionProbe& probe() const { return m_probe; }
    Hold hold() const { return m_hold; }
    Clipboard clipboard() const { return m_clipboard; }
    Paste paste() const { return m_paste; }
    // Whether a RemoteDesktop session is needed, for the paste keystroke or the clipboard.
    bool needsRemoteDesktop() const
    {
        return m_paste == Paste::remoteDesktop || m_clipboard == Clipboard::portal;
    }

    QList<Row> rows() const;
    // The report `murmo --diagnose` prints: a heading and the rows as an aligned table.
    QString report() const;
    // What the user must hear once at start-up when a service has no mechanism, with what they
    // can do about it; none when everything works.
    std::optional<QString> limitation() const;

    // The key the desktop's shortcut settings are asked to suggest: a modifier alone is often
    // refused there.
    static QString suggestedShortcut() { return QStringLiteral("Pause"); }
    // Shown next to the keyboard-reading choice.
    static QString keyboardReadingWarning();

private:
    explicit SessionCapabilities(const SessionProbe& probe);

    QString holdProbed() const;
    QString holdReason() const;
    // The ways to dictate with a key when none is watched.
    QString keyAdvice() const;
    QString remoteDesktopProbed() const;
    Row clipboardRow() const;
    Row pasteRow() const;

    SessionProbe m_probe;
    Hold m_hold = Hold::x11Keys;
    Clipboard m_clipboard = Clipboard::x11Selection;
    Paste m_paste = Paste::xtest;
};
