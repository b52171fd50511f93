#pragma once

#include <QtGlobal>

#include <array>

// The eight bars of the listening wave: a ripple whose height follows the microphone level.
namespace WaveHeights {

inline constexpr int barCount = 8;
inline constexpr qreal resting = 0.35;

// Each bar's height as a fraction of the tallest (0.2 to 1) at `seconds` on any fixed clock.
std::array<qreal, barCount> at(qreal level, qreal seconds);
// A fraction as a bar height in points: 7 to 19.
qreal inPoints(qreal fraction);

} // namespace WaveHeights
