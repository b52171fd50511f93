#include "ui/WaveHeights.h"

#include <algorithm>
#include <cmath>

namespace WaveHeights {

std::array<qreal, barCount> at(qreal level, qreal seconds)
{
    // Silence still ripples a little so the user sees the microphone is open.
    const qreal amplitude = std::min(std::max(level, 0.05), 1.0) * 0.65;
    std::array<qreal, barCount> heights{};
    for (int i = 0; i < barCount; ++i) {
        const qreal swing = 0.75 + 0.25 * std::sin(6 * seconds + 0.5 * i);
        heights[std::size_t(i)] = std::clamp(amplitude * swing + resting, 0.2, 1.0);
    }
    return heights;
}

qreal inPoints(qreal fraction)
{
    return fraction * 15 + 4;
}

} // namespace WaveHeights
