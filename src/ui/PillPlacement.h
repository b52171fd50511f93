#pragma once

#include "platform/ScreenLayout.h"
#include "platform/WindowList.h"

#include <QSize>

#include <optional>

// Where the pill's panel goes: centred just above the bottom of the screen under the mouse.
namespace PillPlacement {

inline constexpr QSize panelSize{340, 80};
// Room below the capsule inside the panel; the panel hangs 6 points below the base, so the
// capsule floats 6 points above it.
inline constexpr int capsuleBottomMargin = 12;
inline constexpr int overhang = 6;

// The panel's top-left corner; none when there is no screen at all.
std::optional<QPoint> target(const QList<ScreenArea>& screens, QPoint mouse,
                             const std::optional<QList<ListedWindow>>& windows, qint64 ownPid);
// A window of another process fills the screen, so no dock or panel is showing there.
bool isCovered(const ScreenArea& screen, const std::optional<QList<ListedWindow>>& windows,
               qint64 ownPid);
// Moves of a point or less are not worth a redraw.
bool isCloseEnough(QPoint current, QPoint target);
// The capsule of the given width inside the panel.
QRect capsuleRect(int width, int height);

} // namespace PillPlacement
