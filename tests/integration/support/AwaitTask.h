#pragma once

#include "support/WaitUntil.h"

#include <QCoroTask>

#include <memory>
#include <optional>

namespace murmo::test {

// Runs the Qt event loop until `task` has finished or `deadline` passed; its result, or none.
// A task that finishes after the deadline writes into storage of its own, not into this frame.
template<class T>
std::optional<T> awaitTask(QCoro::Task<T> task,
                           std::chrono::milliseconds deadline = std::chrono::seconds(20))
{
    const auto result = std::make_shared<std::optional<T>>();
    [](QCoro::Task<T> task, std::shared_ptr<std::optional<T>> result) -> QCoro::Task<> {
        *result = co_await std::move(task);
    }(std::move(task), result);
    waitUntil([&] { return result->has_value(); }, deadline);
    return *result;
}

} // namespace murmo::test
