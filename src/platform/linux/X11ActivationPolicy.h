#pragma once

#include "platform/ActivationPolicy.h"

#include <QObject>

#include <xcb/xcb.h>

class QWindow;

// The taskbar entry on X11, where each window carries its own: while regular, Murmo's ordinary
// windows are listed in the taskbar; while an accessory living in the tray, the windows that
// stay open (onboarding, history) are not. Floating panels are never listed either way. Does
// nothing when Qt is not on X11.
class X11ActivationPolicy final : public QObject, public ActivationPolicy
{
public:
    X11ActivationPolicy();
    ~X11ActivationPolicy() override;

    void setMode(Mode mode) override;

protected:
    // Windows made later get the mode's state before they are first shown.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void apply(QWindow& window);

    Mode m_mode = Mode::accessory;
    xcb_connection_t* m_connection = nullptr;
    xcb_window_t m_root = 0;
    xcb_atom_t m_state = XCB_ATOM_NONE;
    xcb_atom_t m_skipTaskbar = XCB_ATOM_NONE;
};
