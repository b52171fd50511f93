#include "platform/wayland/DataControlPasteboard.h"

#include "platform/wayland/WaylandConnection.h"

#include "wlr-data-control-unstable-v1-client-protocol.h"

#include <QLoggingCategory>
#include <QSocketNotifier>

#include <wayland-client.h>

#include <fcntl.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <coroutine>
#include <csignal>

using namespace Qt::StringLiterals;

namespace {

Q_LOGGING_CATEGORY(lcClipboard, "murmo.clipboard")

// Waits until `fd` can be read or the time left runs out; true when it can be read. The
// notifier's signal only records the fact: the waiter resumes on a fresh turn of the event
// loop, so that it may drop the notifier.
class Readable
{
public:
    Readable(Scheduler& scheduler, int fd, Scheduler::Duration left)
        : m_scheduler(scheduler)
        , m_fd(fd)
        , m_left(left)
    {}

    bool await_ready() const noexcept { return false; }
    void await_suspend(std::coroutine_handle<> waiter)
    {
        m_notifier = std::make_unique<QSocketNotifier>(m_fd, QSocketNotifier::Read);
        QObject::connect(m_notifier.get(), &QSocketNotifier::activated, m_notifier.get(),
                         [this, waiter] {
                             m_notifier->setEnabled(false);
                             m_readable = true;
                             m_timer = m_scheduler.runAfter(Scheduler::Duration::zero(),
                                                            [waiter] { waiter.resume(); });
                         });
        m_timer = m_scheduler.runAfter(m_left, [this, waiter] {
            m_notifier->setEnabled(false);
            waiter.resume();
        });
    }
    bool await_resume() const noexcept { return m_readable; }

private:
    Scheduler& m_scheduler;
    int m_fd;
    Scheduler::Duration m_left;
    bool m_readable = false;
    std::unique_ptr<QSocketNotifier> m_notifier;
    TimerHandle m_timer;
};

class UniqueFd
{
public:
    explicit UniqueFd(int fd = -1)
        : m_fd(fd)
    {}
    UniqueFd(const UniqueFd&) = delete;
    UniqueFd& operator=(const UniqueFd&) = delete;
    ~UniqueFd() { reset(); }
    int get() const { return m_fd; }
    void reset()
    {
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = -1;
    }

private:
    int m_fd;
};

} // namespace

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

    // The bytes for `type`: text is offered under its other names too.
    std::optional<QByteArray> bytes(const QString& type) const
    {
        if (const auto exact = item.bytes(type))
            return exact;
        if (textAliases().contains(type))
            return item.bytes(PasteboardItem::plainTextType());
        return std::nullopt;
    }

    zwlr_data_control_source_v1* proxy;
    PasteboardItem item;
    DataControlPasteboard* pasteboard = nullptr;
};

// Hands one format to a reader through its pipe, as fast as the reader takes it.
class DataControlPasteboard::Write
{
public:
    Write(int fd, QByteArray bytes)
        : m_fd(fd)
        , m_bytes(std::move(bytes))
    {
        ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) | O_NONBLOCK);
        m_notifier = std::make_unique<QSocketNotifier>(fd, QSocketNotifier::Write);
        QObject::connect(m_notifier.get(), &QSocketNotifier::activated, m_notifier.get(),
                         [this] { push(); });
    }
    ~Write() { m_notifier.reset(); }

    bool done() const { return m_fd.get() < 0; }

private:
    void push()
    {
        while (m_written < m_bytes.size()) {
            const ssize_t wrote =
                ::write(m_fd.get(), m_bytes.constData() + m_written, m_bytes.size() - m_written);
            if (wrote < 0 && errno == EINTR)
                continue;
            if (wrote < 0 && errno == EAGAIN)
                return;
            if (wrote <= 0)
                break; // the reader went away
            m_written += wrote;
        }
        m_notifier->setEnabled(false);
        m_fd.reset();
    }

    UniqueFd m_fd;
    QByteArray m_bytes;
    qsizetype m_written = 0;
    std::unique_ptr<QSocketNotifier> m_notifier;
};

DataControlPasteboard::DataControlPasteboard(WaylandConnection& connection, Scheduler& scheduler)
    : m_connection(connection)
    , m_scheduler(scheduler)
{
    // A reader that closes its pipe early must cost a failed write, not the process.
    std::signal(SIGPIPE, SIG_IGN);
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
    m_writes.clear();
    m_own.reset();
    m_announced.reset();
    m_current.reset();
    if (m_device)
        zwlr_data_control_device_v1_destroy(m_device);
    m_connection.flush();
}

const QStringList& DataControlPasteboard::textAliases()
{
    static const QStringList aliases{u"text/plain;charset=utf-8"_s, u"UTF8_STRING"_s, u"STRING"_s,
                                     u"TEXT"_s};
    return aliases;
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
        QStringList types;
        for (const PasteboardItem::Format& format : item.formats)
            types << format.type;
        if (item.bytes(PasteboardItem::plainTextType())) {
            for (const QString& alias : textAliases()) {
                if (!types.contains(alias))
                    types << alias;
            }
        }
        for (const QString& type : std::as_const(types))
            zwlr_data_control_source_v1_offer(m_own->proxy, type.toUtf8().constData());
        zwlr_data_control_device_v1_set_selection(m_device, m_own->proxy);
    }
    previous.reset();
    m_connection.flush();
}

void DataControlPasteboard::serve(Source* source, const QString& type, int fd)
{
    const std::optional<QByteArray> bytes = source->bytes(type);
    if (!bytes) {
        ::close(fd);
        return;
    }
    m_writes.push_back(std::make_unique<Write>(fd, *bytes));
    // Finished writes go on a fresh turn of the event loop, outside their notifier's signal.
    m_sweep = m_scheduler.runEvery(std::chrono::seconds(1), [this] {
        std::erase_if(m_writes, [](const auto& write) { return write->done(); });
        if (m_writes.empty())
            m_sweep.cancel();
    });
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
    PasteboardItem item;
    const std::shared_ptr<Offer> offer = m_current;
    if (!offer)
        co_return item;
    bool late = false;
    for (const QString& type : offer->types) {
        if (late) {
            qCInfo(lcClipboard) << "skipped clipboard format" << type << "after a late one";
            continue;
        }
        if (auto bytes = co_await read(offer, type, &late))
            item.formats.append({type, std::move(*bytes)});
    }
    co_return item;
}

QCoro::Task<std::optional<QString>> DataControlPasteboard::plainText()
{
    if (m_own)
        co_return m_own->item.plainText();
    const std::shared_ptr<Offer> offer = m_current;
    if (!offer)
        co_return std::nullopt;
    QStringList preferred = textAliases().mid(0, 2);
    preferred << PasteboardItem::plainTextType();
    for (const QString& type : std::as_const(preferred)) {
        if (!offer->types.contains(type))
            continue;
        bool late = false;
        const std::optional<QByteArray> bytes = co_await read(offer, type, &late);
        co_return bytes ? std::optional(QString::fromUtf8(*bytes)) : std::nullopt;
    }
    co_return std::nullopt;
}

QCoro::Task<std::optional<QByteArray>> DataControlPasteboard::read(std::shared_ptr<Offer> offer,
                                                                   QString type, bool* late)
{
    std::array<int, 2> ends{};
    if (::pipe2(ends.data(), O_CLOEXEC | O_NONBLOCK) < 0)
        co_return std::nullopt;
    UniqueFd readEnd(ends[0]);
    {
        UniqueFd writeEnd(ends[1]);
        zwlr_data_control_offer_v1_receive(offer->proxy, type.toUtf8().constData(), writeEnd.get());
        m_connection.flush();
    } // the owner holds the only write end now: its closing is the end of the data

    QByteArray bytes;
    const auto deadline = std::chrono::steady_clock::now() + formatTimeLimit;
    std::array<char, 65536> chunk;
    for (;;) {
        const ssize_t got = ::read(readEnd.get(), chunk.data(), chunk.size());
        if (got > 0) {
            bytes.append(chunk.data(), got);
            if (bytes.size() > formatSizeLimit) {
                qCWarning(lcClipboard)
                    << "left out clipboard format" << type << "over" << formatSizeLimit << "bytes";
                co_return std::nullopt;
            }
            continue;
        }
        if (got == 0)
            co_return bytes;
        if (errno == EINTR)
            continue;
        if (errno != EAGAIN)
            co_return std::nullopt;
        const auto left = std::chrono::duration_cast<Scheduler::Duration>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0 || !co_await Readable(m_scheduler, readEnd.get(), left)) {
            qCWarning(lcClipboard) << "left out clipboard format" << type << "not handed over in"
                                   << formatTimeLimit.count() << "ms";
            *late = true;
            co_return std::nullopt;
        }
    }
}
