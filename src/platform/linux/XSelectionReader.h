#pragma once

#include "platform/Scheduler.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QSocketNotifier>

#include <QCoroTask>

#include <chrono>
#include <coroutine>
#include <deque>
#include <map>
#include <memory>
#include <optional>
#include <variant>
#include <vector>

class XcbConnection;

// Reads the CLIPBOARD selection from whichever X client owns it, over a connection of its own
// and without blocking the main thread: each read waits for the owner through the Scheduler and
// is bounded in time and size, so a hung or huge owner costs at most the bound. Transfers of
// any size are understood, including the incremental (INCR) protocol.
class XSelectionReader
{
public:
    struct Limits
    {
        std::chrono::milliseconds time;
        qsizetype bytes;
    };
    enum class Failure
    {
        refused,  // the owner cannot give this target
        late,     // the owner did not hand it over within the time limit
        tooLarge, // over the size limit
    };
    using Result = std::variant<QByteArray, Failure>;

    XSelectionReader(Scheduler& scheduler, Limits limits);
    ~XSelectionReader();
    XSelectionReader(const XSelectionReader&) = delete;
    XSelectionReader& operator=(const XSelectionReader&) = delete;

    // The window through which some client owns the CLIPBOARD now; none (0) when nobody does.
    std::uint32_t owner() const;
    // The X server's time now, as claiming a selection needs it; none without a display.
    std::optional<std::uint32_t> serverTime();
    // The names of the targets the owner offers, in its order; empty when there is no owner or
    // it does not answer.
    QCoro::Task<QList<QByteArray>> targets();
    // The bytes of one target. A late or too large one is logged.
    QCoro::Task<Result> read(QByteArray target);

private:
    class Transfer;
    struct Event;
    class NextEvent;

    QCoro::Task<Result> readIncrementally(Transfer& transfer, QByteArray target);
    std::optional<QByteArray> readProperty(std::uint32_t property, std::uint32_t words);
    std::uint32_t atom(const QByteArray& name);
    QByteArray atomName(std::uint32_t atom);
    std::uint32_t leaseProperty();
    void dispatch(const void* event);
    void pump();
    void pumpSoon();

    Scheduler& m_scheduler;
    Limits m_limits;
    std::unique_ptr<XcbConnection> m_connection;
    std::uint32_t m_window = 0;
    std::uint32_t m_clipboard = 0;
    std::uint32_t m_incr = 0;
    std::uint32_t m_timestampProperty = 0;
    std::unique_ptr<QSocketNotifier> m_notifier;
    TimerHandle m_pumpSoon;
    bool m_pumpScheduled = false;
    std::map<std::uint32_t, Transfer*> m_transfers; // by the property each one receives into
    std::vector<std::uint32_t> m_freeProperties;
    int m_propertyCount = 0;
    QHash<std::uint32_t, QByteArray> m_atomNames;
};
