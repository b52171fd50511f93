#pragma once

#include <QString>

#include <xcb/xcb.h>

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <optional>

// xcb hands out replies and events in malloc'd memory.
template<class T>
using XcbPtr = std::unique_ptr<T, decltype(&std::free)>;

template<class T>
XcbPtr<T> xcbOwned(T* pointer)
{
    return {pointer, &std::free};
}

// A connection of our own to the X server of $DISPLAY, apart from Qt's, for the keyboard
// extensions Qt does not expose.
class XcbConnection
{
public:
    // None when the display cannot be reached; `problem` then says why, in words for the user.
    static std::unique_ptr<XcbConnection> open(QString* problem = nullptr);
    // What keeps Murmo from the X display (none, an unreachable one, a Wayland session without
    // XWayland), in one sentence for the user; none when it can be reached. The application asks
    // before anything else: Qt aborts when there is no display.
    static std::optional<QString> displayProblem();
    ~XcbConnection();
    XcbConnection(const XcbConnection&) = delete;
    XcbConnection& operator=(const XcbConnection&) = delete;

    xcb_connection_t* get() const { return m_connection; }
    xcb_window_t root() const { return m_root; }
    // The major opcode of XInput when the server offers version 2.1 or later: from 2.1 on, raw
    // key events reach the root window whatever grabs other clients hold.
    std::optional<std::uint8_t> xinputOpcode() const;
    bool hasXTest() const;
    // Returns once the server has handled every request sent so far.
    void sync() const;

private:
    XcbConnection(xcb_connection_t* connection, xcb_window_t root);

    xcb_connection_t* m_connection;
    xcb_window_t m_root;
};
