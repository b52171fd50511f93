#pragma once

#include <QImage>

#include <chrono>

namespace murmo::test {

// Lets animations run their course; nothing here checks how long anything took.
void settle(std::chrono::milliseconds period);

// A view's own rendering laid over a light and a dark desktop side by side, enlarged `zoom`
// times, so its translucency and shadow show.
QImage onDesktops(const QImage& view, int zoom);

} // namespace murmo::test
