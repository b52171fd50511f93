#pragma once

#include <chrono>
#include <functional>

namespace murmo::test {

// Runs the Qt event loop until `condition` holds or `deadline` passes; returns whether it held.
// The deadline only guards against a hang: tests never assert how long anything took.
bool waitUntil(const std::function<bool()>& condition,
               std::chrono::milliseconds deadline = std::chrono::seconds(30));

} // namespace murmo::test
