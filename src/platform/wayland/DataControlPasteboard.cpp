#include "platform/wayland/DataControlPasteboard.h"

#include "platform/wayland/WaylandConnection.h"

#include "wlr-data-control-unstable-v1-client-protocol.h"

#include <wayland-client.h>

#include <fcntl.h>
#include <unistd.h>

#include <array>

using namespace Qt::StringLiterals;

// One offer of the compositor: the clipboard of some client, with its formats in its order.
struct DataControlPasteboard::Offer
{
    explicit Offer(zwlr_data_control_offer_v1* offer)
        : proxy(offer)
    {
        static const zwlr_data_control_offer_v1_listener listener = {
            .offer =
                [](void* data, zwlr_data_control_offer_v1*, const char* type) {
                    static_cast<Offer*>(data)->types << QString::fromUtf8(type);
                },
        };
        zwlr_data_control_offer_v1_add_listener(proxy, &listener, this);
    }
    ~Offer() { zwlr_data_control_offer_v1_destroy(proxy); }
    Offer(const Offer&) = delete;
    Offer& operator=(const Offer&) = delete;

    zwlr_data_control_offer_v1* proxy;
    QStringList types;
};

// Our own item on the clipboard.
struct DataControlPasteboard::Source
{
    Source(DataControlPasteboard& owner, const PasteboardItem& content)
        : proxy(zwlr_data_control_manager_v1_create_data_source(owner.m_connection.dataControl()))
        , item(content)
    {
        static const zwlr_data_control_source_v1_listener listener = {
            .send =
                [](void* data, zwlr_data_control_source_v1*, const char* type, int32_t fd) {
                    auto* source = static_cast<Source*>(data);
                    source->pasteboard->serve(source, QString::fromUtf8(type), fd);
                },
            .cancelled =
                [](void* data, zwlr_data_control_source_v1*) {
                    auto* source = static_cast<Source*>(data);
                    source->pasteboard->cancelled(source);
                },
        };
        pasteboard = &owner;
        zwlr_data_control_source_v1_add_listener(proxy, &listener, this);
    }
    ~Source() { zwlr_data_control_source_v1_destroy(proxy); }
    Source(const Source&) = delete;
    Source& operator=(const Source&) = delete;

    zwlr_data_control_source_v1* proxy;
    PasteboardItem item;
    DataControlPasteboard* pasteboard = nullptr;
};

DataControlPasteboard::DataControlPasteboard(WaylandConnection& connection, Scheduler& scheduler)
    : PipedPasteboard(scheduler)
    , m_connection(connection)
    , m_writers(scheduler)
{
    static const zwlr_data_control_device_v1_listener listener = {
        .data_offer = &DataControlPasteboard::dataOffer,
        .selection = &DataControlPasteboard::selection,
        .finished = &DataControlPasteboard::finished,
    };
    m_device =
        zwlr_data_control_manager_v1_get_data_device(connection.dataControl(), connection.seat());
    zwlr_data_control_device_v1_add_listener(m_device, &listener, this);
    // The current clipboard is announced at once: know it before the first read.
    connection.roundtrip();
}

DataControlPasteboard::~DataControlPasteboard()
{
    m_own.reset();
    m_announced.reset();
    m_current.reset();
    if (m_device)
        zwlr_data_control_device_v1_destroy(m_device);
    m_connection.flush();
}

void DataControlPasteboard::dataOffer(void* data, zwlr_data_control_device_v1*,
                                      zwlr_data_control_offer_v1* offer)
{
    static_cast<DataControlPasteboard*>(data)->m_announced = std::make_shared<Offer>(offer);
}

void DataControlPasteboard::selection(void* data, zwlr_data_control_device_v1*,
                                      zwlr_data_control_offer_v1* offer)
{
    auto* self = static_cast<DataControlPasteboard*>(data);
    if (offer && self->m_announced && self->m_announced->proxy == offer)
        self->m_current = std::move(self->m_announced);
    else
        self->m_current.reset();
    self->m_announced.reset();
}

void DataControlPasteboard::finished(void* data, zwlr_data_control_device_v1*)
{
    // The seat is gone: the device no longer reports anything.
    auto* self = static_cast<DataControlPasteboard*>(data);
    self->m_current.reset();
    zwlr_data_control_device_v1_destroy(self->m_device);
    self->m_device = nullptr;
}

void DataControlPasteboard::setItem(const PasteboardItem& item)
{
    if (!m_device)
        return;
    std::unique_ptr<Source> previous = std::move(m_own);
    // Whatever the compositor still has to say about the clipboard before, it is replaced now.
    m_current.reset();
    if (item.isEmpty()) {
        zwlr_data_control_device_v1_set_selection(m_device, nullptr);
    } else {
        m_own = std::make_unique<Source>(*this, item);
        for (const QString& type : offeredTypes(item))
            zwlr_data_control_source_v1_offer(m_own->proxy, type.toUtf8().constData());
        zwlr_data_control_device_v1_set_selection(m_device, m_own->proxy);
    }
    previous.reset();
    m_connection.flush();
}

void DataControlPasteboard::serve(Source* source, const QString& type, int fd)
{
    const std::optional<QByteArray> bytes = bytesFor(source->item, type);
    if (!bytes) {
        ::close(fd);
        return;
    }
    m_writers.write(fd, *bytes);
}

void DataControlPasteboard::cancelled(Source* source)
{
    if (m_own.get() == source)
        m_own.reset();
    m_connection.flush();
}

QCoro::Task<PasteboardItem> DataControlPasteboard::snapshot()
{
    if (m_own)
        co_return m_own->item;
    const std::shared_ptr<Offer> offer = m_current;
    if (!offer)
        co_return PasteboardItem{};
    co_return co_await readItem(offer->types, opener(offer));
}

QCoro::Task<std::optional<QString>> DataControlPasteboard::plainText()
{
    if (m_own)
        co_return m_own->item.plainText();
    const std::shared_ptr<Offer> offer = m_current;
    if (!offer)
        co_return std::nullopt;
    co_return co_await readText(offer->types, opener(offer));
}

// Reads from `offer` even when the clipboard changes meanwhile, so one item is never mixed
// with the next.
PipedPasteboard::OpenFormat DataControlPasteboard::opener(std::shared_ptr<Offer> offer)
{
    return [this, offer](QString type) -> QCoro::Task<int> {
        std::array<int, 2> ends{};
        if (::pipe2(ends.data(), O_CLOEXEC) < 0)
            co_return -1;
        zwlr_data_control_offer_v1_receive(offer->proxy, type.toUtf8().constData(), ends[1]);
        m_connection.flush();
        // The owner holds the only write end now: its closing is the end of the data.
        ::close(ends[1]);
        co_return ends[0];
    };
}
