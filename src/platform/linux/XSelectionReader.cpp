#include "platform/linux/XSelectionReader.h"

#include "platform/linux/XcbConnection.h"

#include <QLoggingCategory>

#include <cstring>

Q_LOGGING_CATEGORY(lcClipboard, "murmo.clipboard")

struct XSelectionReader::Event
{
    enum class Kind
    {
        converted, // the owner has put the target's value (or its INCR header) into the property
        refused,   // the owner cannot give this target
        newValue,  // the property holds the next chunk of an incremental transfer
    };
    Kind kind;
};

// One conversion in flight: the property it receives into, the events that came for it, the
// coroutine waiting for them, and its deadline.
class XSelectionReader::Transfer
{
public:
    Transfer(XSelectionReader& reader, std::uint32_t target)
        : reader(reader)
        , target(target)
        , property(reader.leaseProperty())
    {
        reader.m_transfers[property] = this;
        deadline = reader.m_scheduler.runAfter(reader.m_limits.time, [this] {
            timedOut = true;
            this->reader.pump(); // may resume the waiter, which may destroy this transfer
        });
    }
    ~Transfer()
    {
        reader.m_transfers.erase(property);
        // An owner left mid-transfer may still write into the property; it is not used again.
        if (finished)
            reader.m_freeProperties.push_back(property);
    }
    Transfer(const Transfer&) = delete;
    Transfer& operator=(const Transfer&) = delete;

    bool ready() const { return timedOut || !events.empty(); }

    XSelectionReader& reader;
    const std::uint32_t target;
    const std::uint32_t property;
    std::deque<Event> events;
    std::coroutine_handle<> waiter;
    bool timedOut = false;
    bool finished = false; // ended cleanly: the owner is done with the property
    TimerHandle deadline;
};

// Awaits the next event of one transfer; none once its deadline has passed.
class XSelectionReader::NextEvent
{
public:
    explicit NextEvent(Transfer& transfer)
        : m_transfer(transfer)
    {}
    bool await_ready() const noexcept { return m_transfer.ready(); }
    void await_suspend(std::coroutine_handle<> waiter)
    {
        m_transfer.waiter = waiter;
        // The replies read since the last wait may have queued events where the socket
        // notifier cannot see them.
        m_transfer.reader.pumpSoon();
    }
    std::optional<Event> await_resume()
    {
        if (m_transfer.timedOut)
            return std::nullopt;
        const Event event = m_transfer.events.front();
        m_transfer.events.pop_front();
        return event;
    }

private:
    Transfer& m_transfer;
};

XSelectionReader::XSelectionReader(Scheduler& scheduler, Limits limits)
    : m_scheduler(scheduler)
    , m_limits(limits)
    , m_connection(XcbConnection::open())
{
    if (!m_connection)
        return;
    auto* connection = m_connection->get();
    m_window = xcb_generate_id(connection);
    const std::uint32_t events = XCB_EVENT_MASK_PROPERTY_CHANGE;
    xcb_create_window(connection, XCB_COPY_FROM_PARENT, m_window, m_connection->root(), 0, 0, 1, 1,
                      0, XCB_WINDOW_CLASS_INPUT_ONLY, XCB_COPY_FROM_PARENT, XCB_CW_EVENT_MASK,
                      &events);
    m_clipboard = atom("CLIPBOARD");
    m_incr = atom("INCR");
    m_timestampProperty = atom("MURMO_TIMESTAMP");
    m_notifier = std::make_unique<QSocketNotifier>(xcb_get_file_descriptor(connection),
                                                   QSocketNotifier::Read);
    QObject::connect(m_notifier.get(), &QSocketNotifier::activated, m_notifier.get(),
                     [this] { pump(); });
}

XSelectionReader::~XSelectionReader() = default;

std::uint32_t XSelectionReader::owner() const
{
    if (!m_connection)
        return XCB_NONE;
    auto* connection = m_connection->get();
    const auto reply = xcbOwned(xcb_get_selection_owner_reply(
        connection, xcb_get_selection_owner(connection, m_clipboard), nullptr));
    return reply ? reply->owner : XCB_NONE;
}

// A property change is stamped with the server's time: append nothing to one of ours and read
// the stamp off the notification, which comes straight back.
std::optional<std::uint32_t> XSelectionReader::serverTime()
{
    if (!m_connection)
        return std::nullopt;
    auto* connection = m_connection->get();
    xcb_change_property(connection, XCB_PROP_MODE_APPEND, m_window, m_timestampProperty,
                        XCB_ATOM_INTEGER, 32, 0, nullptr);
    xcb_flush(connection);
    while (const auto event = xcbOwned(xcb_wait_for_event(connection))) {
        const auto* notify = reinterpret_cast<const xcb_property_notify_event_t*>(event.get());
        if ((event->response_type & 0x7f) == XCB_PROPERTY_NOTIFY &&
            notify->atom == m_timestampProperty)
            return notify->time;
        // Meant for a transfer, which must still hear of it.
        dispatch(event.get());
        pumpSoon();
    }
    return std::nullopt;
}

QCoro::Task<QList<QByteArray>> XSelectionReader::targets()
{
    if (owner() == XCB_NONE)
        co_return {};
    const Result result = co_await read("TARGETS");
    const auto* atoms = std::get_if<QByteArray>(&result);
    QList<QByteArray> names;
    if (!atoms)
        co_return names;
    const auto count = atoms->size() / qsizetype(sizeof(std::uint32_t));
    for (qsizetype i = 0; i < count; ++i) {
        std::uint32_t atom = 0;
        std::memcpy(&atom, atoms->constData() + i * sizeof atom, sizeof atom);
        if (QByteArray name = atomName(atom); !name.isEmpty())
            names.append(std::move(name));
    }
    co_return names;
}

QCoro::Task<XSelectionReader::Result> XSelectionReader::read(QByteArray target)
{
    if (!m_connection)
        co_return Failure::refused;
    auto* connection = m_connection->get();
    Transfer transfer(*this, atom(target));
    xcb_convert_selection(connection, m_window, m_clipboard, transfer.target, transfer.property,
                          XCB_CURRENT_TIME);
    xcb_flush(connection);

    std::optional<Event> event;
    do {
        event = co_await NextEvent(transfer);
    } while (event && event->kind == Event::Kind::newValue);
    if (!event) {
        qCInfo(lcClipboard) << "clipboard owner did not hand over" << target << "in time; skipped";
        co_return Failure::late;
    }
    if (event->kind == Event::Kind::refused) {
        transfer.finished = true;
        co_return Failure::refused;
    }

    const auto header = xcbOwned(
        xcb_get_property_reply(connection,
                               xcb_get_property(connection, false, m_window, transfer.property,
                                                XCB_GET_PROPERTY_TYPE_ANY, 0, 1),
                               nullptr));
    if (!header)
        co_return Failure::refused;
    if (header->type == m_incr)
        co_return co_await readIncrementally(transfer, target);

    // xcb counts the value in bytes whatever the property's format.
    const qsizetype size = xcb_get_property_value_length(header.get()) + header->bytes_after;
    if (size > m_limits.bytes) {
        qCInfo(lcClipboard) << "clipboard format" << target << "has" << size
                            << "bytes, over the limit; skipped";
        xcb_delete_property(connection, m_window, transfer.property);
        transfer.finished = true;
        co_return Failure::tooLarge;
    }
    transfer.finished = true;
    std::optional<QByteArray> value =
        readProperty(transfer.property, std::uint32_t((size + 3) / 4));
    if (!value)
        co_return Failure::refused;
    co_return std::move(*value);
}

QCoro::Task<XSelectionReader::Result> XSelectionReader::readIncrementally(Transfer& transfer,
                                                                          QByteArray target)
{
    // The header holds a lower bound of the whole size.
    const std::optional<QByteArray> header = readProperty(transfer.property, 1);
    std::uint32_t announced = 0;
    if (header && header->size() >= qsizetype(sizeof announced))
        std::memcpy(&announced, header->constData(), sizeof announced);
    if (qsizetype(announced) > m_limits.bytes) {
        qCInfo(lcClipboard) << "clipboard format" << target << "announces" << announced
                            << "bytes, over the limit; skipped";
        co_return Failure::tooLarge;
    }

    QByteArray data;
    for (;;) {
        const std::optional<Event> event = co_await NextEvent(transfer);
        if (!event) {
            qCInfo(lcClipboard) << "clipboard owner did not finish" << target << "in time; skipped";
            co_return Failure::late;
        }
        if (event->kind != Event::Kind::newValue)
            continue;
        const std::optional<QByteArray> chunk = readProperty(transfer.property, UINT32_MAX / 4);
        if (!chunk)
            co_return Failure::refused;
        if (chunk->isEmpty()) {
            transfer.finished = true;
            co_return data;
        }
        data += *chunk;
        if (data.size() > m_limits.bytes) {
            qCInfo(lcClipboard) << "clipboard format" << target << "grew past the limit; skipped";
            co_return Failure::tooLarge;
        }
    }
}

// Reads the property and deletes it, which also tells an incremental sender to go on.
std::optional<QByteArray> XSelectionReader::readProperty(std::uint32_t property,
                                                         std::uint32_t words)
{
    auto* connection = m_connection->get();
    const auto reply = xcbOwned(xcb_get_property_reply(
        connection,
        xcb_get_property(connection, true, m_window, property, XCB_GET_PROPERTY_TYPE_ANY, 0, words),
        nullptr));
    if (!reply)
        return std::nullopt;
    return QByteArray(static_cast<const char*>(xcb_get_property_value(reply.get())),
                      xcb_get_property_value_length(reply.get()));
}

std::uint32_t XSelectionReader::atom(const QByteArray& name)
{
    auto* connection = m_connection->get();
    const auto reply = xcbOwned(xcb_intern_atom_reply(
        connection, xcb_intern_atom(connection, false, name.size(), name.constData()), nullptr));
    return reply ? reply->atom : XCB_NONE;
}

QByteArray XSelectionReader::atomName(std::uint32_t atom)
{
    if (const auto known = m_atomNames.constFind(atom); known != m_atomNames.cend())
        return *known;
    auto* connection = m_connection->get();
    const auto reply =
        xcbOwned(xcb_get_atom_name_reply(connection, xcb_get_atom_name(connection, atom), nullptr));
    if (!reply)
        return {};
    QByteArray name(xcb_get_atom_name_name(reply.get()),
                    xcb_get_atom_name_name_length(reply.get()));
    m_atomNames.insert(atom, name);
    return name;
}

std::uint32_t XSelectionReader::leaseProperty()
{
    if (!m_freeProperties.empty()) {
        const std::uint32_t property = m_freeProperties.back();
        m_freeProperties.pop_back();
        return property;
    }
    return atom("MURMO_SELECTION_" + QByteArray::number(m_propertyCount++));
}

void XSelectionReader::dispatch(const void* raw)
{
    const auto* generic = static_cast<const xcb_generic_event_t*>(raw);
    switch (generic->response_type & 0x7f) {
    case XCB_SELECTION_NOTIFY: {
        const auto* notify = static_cast<const xcb_selection_notify_event_t*>(raw);
        if (notify->requestor != m_window)
            return;
        if (notify->property != XCB_NONE) {
            if (const auto it = m_transfers.find(notify->property); it != m_transfers.end())
                it->second->events.push_back({Event::Kind::converted});
            return;
        }
        // A refusal names no property: it belongs to the oldest transfer of that target.
        for (auto& [property, transfer] : m_transfers) {
            if (transfer->target == notify->target) {
                transfer->events.push_back({Event::Kind::refused});
                return;
            }
        }
        return;
    }
    case XCB_PROPERTY_NOTIFY: {
        const auto* notify = static_cast<const xcb_property_notify_event_t*>(raw);
        if (notify->window != m_window || notify->state != XCB_PROPERTY_NEW_VALUE)
            return;
        if (const auto it = m_transfers.find(notify->atom); it != m_transfers.end())
            it->second->events.push_back({Event::Kind::newValue});
        return;
    }
    default:
        return;
    }
}

// Moves one waiting transfer on by one step, then lets the event loop turn before the next, so
// that a long transfer never holds the main thread for more than a chunk.
void XSelectionReader::pump()
{
    m_pumpScheduled = false;
    auto* connection = m_connection->get();
    while (const auto event = xcbOwned(xcb_poll_for_event(connection)))
        dispatch(event.get());
    // A lost server would otherwise wake us for ever; the waiting transfers time out.
    if (xcb_connection_has_error(connection))
        m_notifier->setEnabled(false);
    for (const auto& [property, transfer] : m_transfers) {
        if (transfer->waiter && transfer->ready()) {
            pumpSoon(); // for the others that may be ready too
            std::exchange(transfer->waiter, {}).resume();
            return;
        }
    }
}

void XSelectionReader::pumpSoon()
{
    if (m_pumpScheduled)
        return;
    m_pumpScheduled = true;
    m_pumpSoon = m_scheduler.runAfter(Scheduler::Duration::zero(), [this] { pump(); });
}
