#pragma once

#include <QByteArray>
#include <QStringList>

#include <cstdint>

#include <memory>
#include <optional>

class XcbConnection;

namespace murmo::test {

// What the insertion tests ask of the X server directly, as the user's other tools would.
class TestDesktop
{
public:
    TestDesktop();
    ~TestDesktop();

    // Gives the keyboard focus to the top-level window whose WM_CLASS instance name is
    // `instance`, waiting for it to be on screen; false when it never is.
    bool focusWindow(const QByteArray& instance);
    bool isKeyDown(int xKeycode) const;
    // Whether a top-level window titled `title` is on screen.
    bool showsWindow(const QByteArray& title) const { return shownWindow(title) != 0; }
    // Whether that window asks to be left out of the taskbar.
    bool skipsTaskbar(const QByteArray& title) const;
    // Asks that window to close, as a window manager's close button does.
    void closeWindow(const QByteArray& title);
    // Whether another client holds the keyboard, as an open popup menu does.
    bool keyboardGrabbed() const;
    bool clipboardHasOwner() const;
    // Leaves the clipboard empty, whoever owned it.
    void clearClipboard();

    // Runs a command line tool with the event loop turning (our own clipboard may have to
    // answer it) and returns its standard output; none when it fails or hangs.
    static std::optional<QByteArray> run(const QString& program, const QStringList& arguments);
    // The clipboard as another application reads it, in one target.
    static std::optional<QByteArray> readClipboard(const QByteArray& target = "UTF8_STRING");

private:
    // The top-level window on screen titled `title`; 0 when there is none.
    std::uint32_t shownWindow(const QByteArray& title) const;

    std::unique_ptr<XcbConnection> m_connection;
};

} // namespace murmo::test
