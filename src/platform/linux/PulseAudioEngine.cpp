#include "platform/linux/PulseAudioEngine.h"

#include <QLoggingCategory>

#include <pulse/pulseaudio.h>

#include <algorithm>

using namespace Qt::StringLiterals;
using namespace std::chrono;

namespace {

Q_LOGGING_CATEGORY(lcMicrophone, "murmo.microphone")

// How much audio the server gathers before sending it: little, so that the first sound arrives
// soon and a stop leaves next to nothing behind on the server.
constexpr pa_usec_t fragmentMicroseconds = 10000;

class MainloopLock
{
public:
    explicit MainloopLock(pa_threaded_mainloop* mainloop)
        : m_mainloop(mainloop)
    {
        pa_threaded_mainloop_lock(m_mainloop);
    }
    ~MainloopLock() { pa_threaded_mainloop_unlock(m_mainloop); }
    MainloopLock(const MainloopLock&) = delete;
    MainloopLock& operator=(const MainloopLock&) = delete;

private:
    pa_threaded_mainloop* m_mainloop;
};

// What inputFormat() asks the server, filled in by its replies.
struct SourceQuery
{
    pa_threaded_mainloop* mainloop = nullptr;
    QByteArray name;
    pa_sample_spec layout{};
    bool found = false;
    bool monitor = false;
};

void wakeWaiter(pa_context*, void* mainloop)
{
    pa_threaded_mainloop_signal(static_cast<pa_threaded_mainloop*>(mainloop), 0);
}

void serverInfoArrived(pa_context*, const pa_server_info* info, void* data)
{
    auto* query = static_cast<SourceQuery*>(data);
    if (info && info->default_source_name)
        query->name = info->default_source_name;
    pa_threaded_mainloop_signal(query->mainloop, 0);
}

void sourceInfoArrived(pa_context*, const pa_source_info* info, int last, void* data)
{
    auto* query = static_cast<SourceQuery*>(data);
    if (!last && info) {
        query->layout = info->sample_spec;
        query->monitor = info->monitor_of_sink != PA_INVALID_INDEX;
        query->found = true;
    }
    pa_threaded_mainloop_signal(query->mainloop, 0);
}

PlatformError failure(int code, const QString& description)
{
    return {u"PulseAudio"_s, code, description};
}

PlatformError serverFailure(pa_context* context)
{
    const int code = context ? pa_context_errno(context) : PA_ERR_CONNECTIONREFUSED;
    return failure(code, u"The sound server could not be used: "_s +
                             QString::fromUtf8(pa_strerror(code)));
}

// Why a stream that was asked to record is not recording by its deadline.
PlatformError notLive(pa_stream* stream)
{
    const pa_stream_state_t state = pa_stream_get_state(stream);
    if (state == PA_STREAM_READY)
        return failure(PA_ERR_TIMEOUT, u"The microphone is suspended"_s);
    if (PA_STREAM_IS_GOOD(state))
        return failure(PA_ERR_TIMEOUT, u"The sound server did not open the microphone in time"_s);
    return serverFailure(pa_stream_get_context(stream));
}

} // namespace

PulseAudioEngine::PulseAudioEngine()
    : m_mainloop(pa_threaded_mainloop_new())
{
    if (!m_mainloop)
        return;
    pa_threaded_mainloop_set_name(m_mainloop, "murmo-capture");
    if (pa_threaded_mainloop_start(m_mainloop) < 0) {
        pa_threaded_mainloop_free(m_mainloop);
        m_mainloop = nullptr;
    }
}

PulseAudioEngine::~PulseAudioEngine()
{
    if (!m_mainloop)
        return;
    {
        const MainloopLock lock(m_mainloop);
        dropContext();
    }
    pa_threaded_mainloop_stop(m_mainloop);
    pa_threaded_mainloop_free(m_mainloop);
}

AudioFormat PulseAudioEngine::inputFormat()
{
    if (!m_mainloop)
        return {};
    const MainloopLock lock(m_mainloop);
    const Deadline deadline = steady_clock::now() + timeLimit;
    m_format = {};
    m_sourceName.clear();
    if (!connect(deadline))
        return {};
    SourceQuery query;
    query.mainloop = m_mainloop;
    if (!complete(pa_context_get_server_info(m_context, &serverInfoArrived, &query), deadline) ||
        query.name.isEmpty())
        return {};
    if (!complete(pa_context_get_source_info_by_name(m_context, query.name.constData(),
                                                     &sourceInfoArrived, &query),
                  deadline))
        return {};
    // A monitor hears what the speakers play, not the user: it is no microphone.
    if (!query.found || query.monitor)
        return {};
    m_sourceName = query.name;
    // The server converts to float for us, without loss; the level is measured on floats.
    m_format = {int(query.layout.rate), int(query.layout.channels), AudioFormat::Sample::float32};
    return m_format;
}

void PulseAudioEngine::installTap(int bufferFrames, TapHandler handler)
{
    if (!m_mainloop)
        return;
    const MainloopLock lock(m_mainloop);
    m_tap = std::move(handler);
    m_tapFrames = bufferFrames;
}

void PulseAudioEngine::removeTap()
{
    if (!m_mainloop)
        return;
    // Whatever the handler holds is released after the lock, not under it.
    TapHandler removed;
    const MainloopLock lock(m_mainloop);
    removed.swap(m_tap);
}

std::optional<PlatformError> PulseAudioEngine::start()
{
    if (!m_mainloop)
        return failure(PA_ERR_INTERNAL, u"The sound server's thread could not be started"_s);
    const MainloopLock lock(m_mainloop);
    closeStream();
    const Deadline deadline = steady_clock::now() + timeLimit;
    if (m_sourceName.isEmpty())
        return failure(PA_ERR_NOENTITY, u"No microphone was found"_s);
    if (!connect(deadline))
        return serverFailure(m_context);
    return openStream(deadline);
}

void PulseAudioEngine::stop()
{
    if (!m_mainloop)
        return;
    const MainloopLock lock(m_mainloop);
    if (!m_stream)
        return;
    readAvailable();
    const int frameBytes = m_format.bytesPerFrame();
    const qsizetype whole = frameBytes > 0 ? m_pending.size() - m_pending.size() % frameBytes : 0;
    if (m_tap && whole > 0)
        m_tap(AudioBuffer{m_format, QByteArrayView(m_pending).first(whole)});
    closeStream();
}

bool PulseAudioEngine::waitUntil(Deadline deadline, const std::function<bool()>& done)
{
    struct Alarm
    {
        pa_threaded_mainloop* mainloop;
        bool rang = false;
    } alarm{m_mainloop};
    const auto left = duration_cast<microseconds>(deadline - steady_clock::now()).count();
    pa_time_event* event = pa_context_rttime_new(
        m_context, pa_rtclock_now() + pa_usec_t(std::max<decltype(left)>(left, 0)),
        [](pa_mainloop_api*, pa_time_event*, const timeval*, void* data) {
            auto* alarm = static_cast<Alarm*>(data);
            alarm->rang = true;
            pa_threaded_mainloop_signal(alarm->mainloop, 0);
        },
        &alarm);
    if (!event)
        return done();
    while (!done() && !alarm.rang)
        pa_threaded_mainloop_wait(m_mainloop);
    pa_threaded_mainloop_get_api(m_mainloop)->time_free(event);
    return done();
}

bool PulseAudioEngine::complete(pa_operation* operation, Deadline deadline)
{
    if (!operation)
        return false;
    const bool done = waitUntil(deadline, [operation] {
        return pa_operation_get_state(operation) != PA_OPERATION_RUNNING;
    });
    // A cancelled operation calls nothing back, so the query it points at may go.
    if (!done)
        pa_operation_cancel(operation);
    pa_operation_unref(operation);
    return done;
}

bool PulseAudioEngine::connect(Deadline deadline)
{
    if (m_context && pa_context_get_state(m_context) == PA_CONTEXT_READY)
        return true;
    // A connection that failed or was never made is made afresh: the server may be back.
    dropContext();
    m_context = pa_context_new(pa_threaded_mainloop_get_api(m_mainloop), "Murmo");
    if (!m_context)
        return false;
    pa_context_set_state_callback(m_context, &wakeWaiter, m_mainloop);
    if (pa_context_connect(m_context, nullptr, PA_CONTEXT_NOFLAGS, nullptr) < 0)
        return false;
    const auto ready = [this] { return pa_context_get_state(m_context) == PA_CONTEXT_READY; };
    waitUntil(deadline,
              [&] { return ready() || !PA_CONTEXT_IS_GOOD(pa_context_get_state(m_context)); });
    return ready();
}

void PulseAudioEngine::dropContext()
{
    closeStream();
    if (!m_context)
        return;
    pa_context_set_state_callback(m_context, nullptr, nullptr);
    pa_context_disconnect(m_context);
    pa_context_unref(m_context);
    m_context = nullptr;
}

std::optional<PlatformError> PulseAudioEngine::openStream(Deadline deadline)
{
    const pa_sample_spec layout{PA_SAMPLE_FLOAT32NE, uint32_t(m_format.sampleRate),
                                uint8_t(m_format.channelCount)};
    m_stream = pa_stream_new(m_context, "Dictation", &layout, nullptr);
    if (!m_stream)
        return serverFailure(m_context);
    watchStream();
    pa_buffer_attr attributes;
    attributes.maxlength = attributes.tlength = attributes.prebuf = attributes.minreq =
        uint32_t(-1);
    attributes.fragsize = uint32_t(pa_usec_to_bytes(fragmentMicroseconds, &layout));
    // If the source goes away the stream ends with it, rather than moving to whatever source is
    // left, which may be a monitor of the speakers.
    const auto flags = pa_stream_flags_t(PA_STREAM_ADJUST_LATENCY | PA_STREAM_DONT_MOVE);
    if (pa_stream_connect_record(m_stream, m_sourceName.constData(), &attributes, flags) < 0) {
        const PlatformError error = serverFailure(m_context);
        closeStream();
        return error;
    }

    // A suspended source accepts the stream but sends nothing until it is resumed.
    const auto state = [this] { return pa_stream_get_state(m_stream); };
    const auto live = [&] {
        return state() == PA_STREAM_READY && !pa_stream_is_suspended(m_stream);
    };
    waitUntil(deadline, [&] { return live() || !PA_STREAM_IS_GOOD(state()); });
    if (live()) {
        m_capturing = true;
        return std::nullopt;
    }
    const PlatformError error = notLive(m_stream);
    closeStream();
    return error;
}

void PulseAudioEngine::watchStream()
{
    pa_stream_set_state_callback(
        m_stream,
        [](pa_stream*, void* self) { static_cast<PulseAudioEngine*>(self)->streamStateChanged(); },
        this);
    pa_stream_set_suspended_callback(
        m_stream,
        [](pa_stream*, void* self) {
            static_cast<PulseAudioEngine*>(self)->streamSuspendedChanged();
        },
        this);
    pa_stream_set_read_callback(
        m_stream,
        [](pa_stream*, size_t, void* self) {
            static_cast<PulseAudioEngine*>(self)->readAvailable();
        },
        this);
}

void PulseAudioEngine::closeStream()
{
    if (m_stream) {
        pa_stream_set_state_callback(m_stream, nullptr, nullptr);
        pa_stream_set_suspended_callback(m_stream, nullptr, nullptr);
        pa_stream_set_read_callback(m_stream, nullptr, nullptr);
        pa_stream_disconnect(m_stream);
        pa_stream_unref(m_stream);
        m_stream = nullptr;
    }
    m_pending.clear();
    m_deliveredAny = false;
    m_capturing = false;
    m_lossReported = false;
}

void PulseAudioEngine::readAvailable()
{
    for (;;) {
        const void* data = nullptr;
        size_t length = 0;
        // Fails once the stream is dead: nothing more will come.
        if (pa_stream_peek(m_stream, &data, &length) < 0 || length == 0)
            break;
        // No data but a length is a hole the server left: there is nothing to keep.
        if (data)
            m_pending.append(static_cast<const char*>(data), qsizetype(length));
        pa_stream_drop(m_stream);
    }
    deliverWholeBuffers();
}

void PulseAudioEngine::deliverWholeBuffers()
{
    const int frameBytes = m_format.bytesPerFrame();
    if (!m_tap || m_tapFrames <= 0 || frameBytes <= 0) {
        m_pending.clear();
        return;
    }
    qsizetype at = 0;
    for (;;) {
        // A short first buffer shows the first sound a few tens of milliseconds sooner.
        const int frames = m_deliveredAny ? m_tapFrames : std::max(m_tapFrames / 4, 1);
        const qsizetype size = qsizetype(frames) * frameBytes;
        if (m_pending.size() - at < size)
            break;
        m_tap(AudioBuffer{m_format, QByteArrayView(m_pending).sliced(at, size)});
        at += size;
        m_deliveredAny = true;
    }
    m_pending.remove(0, at);
}

void PulseAudioEngine::streamStateChanged()
{
    pa_threaded_mainloop_signal(m_mainloop, 0);
    if (m_capturing && !PA_STREAM_IS_GOOD(pa_stream_get_state(m_stream)))
        reportLoss(u"lost ("_s + QString::fromUtf8(pa_strerror(pa_context_errno(m_context))) +
                   u")"_s);
}

void PulseAudioEngine::streamSuspendedChanged()
{
    pa_threaded_mainloop_signal(m_mainloop, 0);
    if (m_capturing && pa_stream_is_suspended(m_stream) > 0)
        reportLoss(u"suspended"_s);
}

void PulseAudioEngine::reportLoss(const QString& what)
{
    // One line per recording, however the stream goes on failing.
    if (std::exchange(m_lossReported, true))
        return;
    qCWarning(lcMicrophone).noquote()
        << u"Microphone %1 while recording; the recording keeps what came before"_s.arg(what);
}
