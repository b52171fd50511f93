#pragma once

#include "platform/ScreenLayout.h"

#include <QSize>

#include <optional>

// Where the nudge card's panel goes: centred on the primary screen, just above its dock.
namespace NudgePlacement {

// Transparent room around the card for its shadow.
inline constexpr int shadowPadding = 24;
// From the bottom of the screen's free area to the bottom of the panel.
inline constexpr int bottomGap = 78;

// The panel's top-left corner; none when there is no screen at all.
std::optional<QPoint> origin(const QList<ScreenArea>& screens, QSize panel);
// The card inside the panel, without its shadow's room.
QRect cardRect(QSize panel);

} // namespace NudgePlacement
