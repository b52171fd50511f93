#pragma once

#include "platform/ScreenLayout.h"

// The monitors as Qt sees them (RandR monitors on X11; available areas from _NET_WORKAREA).
class QtScreenLayout final : public ScreenLayout
{
public:
    QList<ScreenArea> screens() const override;
    QPoint mousePosition() const override;
};
