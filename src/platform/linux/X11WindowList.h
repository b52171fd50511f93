#pragma once

#include "platform/WindowList.h"

#include <xcb/xcb.h>

#include <memory>

class XcbConnection;

// The window manager's stacking list (_NET_CLIENT_LIST_STACKING) with each window's place on
// the root window and its _NET_WM_PID. Unreadable without a display or an EWMH window manager.
class X11WindowList final : public WindowList
{
public:
    X11WindowList();
    ~X11WindowList() override;

    std::optional<QList<ListedWindow>> visibleWindows() const override;

private:
    struct Atoms
    {
        xcb_atom_t clientListStacking;
        xcb_atom_t currentDesktop;
        xcb_atom_t desktop;
        xcb_atom_t pid;
        xcb_atom_t type;
        xcb_atom_t typeDesktop;
        xcb_atom_t typeDock;
        xcb_atom_t state;
        xcb_atom_t stateHidden;
    };

    std::optional<QList<xcb_window_t>> stackingOrder() const;
    std::optional<std::uint32_t> cardinal(xcb_window_t window, xcb_atom_t property) const;

    std::unique_ptr<XcbConnection> m_connection;
    Atoms m_atoms{};
};
