#pragma once

#include "platform/FrontmostApplication.h"

#include <xcb/xcb.h>

#include <memory>

class XcbConnection;

// The application of the active window (_NET_ACTIVE_WINDOW), or of the window with the
// keyboard focus where no window manager announces one, named by its _NET_WM_PID and WM_CLASS.
class X11FrontmostApplication final : public FrontmostApplication
{
public:
    X11FrontmostApplication();
    ~X11FrontmostApplication() override;

    ApplicationIdentity current() const override;
    ApplicationIdentity own() const override;

private:
    xcb_window_t activeWindow() const;
    std::optional<ApplicationIdentity> identityOf(xcb_window_t window, xcb_window_t& parent) const;

    std::unique_ptr<XcbConnection> m_connection;
    xcb_atom_t m_activeWindow = XCB_ATOM_NONE;
    xcb_atom_t m_pid = XCB_ATOM_NONE;
};
