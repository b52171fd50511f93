#pragma once

#include "platform/PanelWindowing.h"

#include <xcb/xcb.h>

// Floating panels on X11, through Qt's own connection so that the properties are in place
// before Qt maps the window: EWMH sticky and skip-taskbar/pager states, the input shape, and
// KWin's blur-behind region. Does nothing when Qt is not on X11.
class X11PanelWindowing final : public PanelWindowing
{
public:
    X11PanelWindowing();

    void makeFloating(WindowId window) override;
    void setInputRegion(WindowId window, const QList<QRect>& region) override;
    void setBlurRegion(WindowId window, const QList<QRect>& region) override;

private:
    xcb_connection_t* m_connection = nullptr;
    bool m_hasShape = false;
    xcb_atom_t m_state = XCB_ATOM_NONE;
    xcb_atom_t m_sticky = XCB_ATOM_NONE;
    xcb_atom_t m_skipTaskbar = XCB_ATOM_NONE;
    xcb_atom_t m_skipPager = XCB_ATOM_NONE;
    xcb_atom_t m_desktop = XCB_ATOM_NONE;
    xcb_atom_t m_blurRegion = XCB_ATOM_NONE;
};
