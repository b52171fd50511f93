#include "platform/linux/PulseMicrophoneAccess.h"

#include <QTimer>

#include <pulse/pulseaudio.h>

#include <string>

namespace {

struct Lock
{
    explicit Lock(pa_threaded_mainloop* mainloop)
        : mainloop(mainloop)
    {
        pa_threaded_mainloop_lock(mainloop);
    }
    ~Lock() { pa_threaded_mainloop_unlock(mainloop); }
    pa_threaded_mainloop* mainloop;
};

} // namespace

PulseMicrophoneAccess::PulseMicrophoneAccess()
    : m_mainloop(pa_threaded_mainloop_new())
{
    pa_threaded_mainloop_start(m_mainloop);
    Lock lock(m_mainloop);
    connect();
}

PulseMicrophoneAccess::~PulseMicrophoneAccess()
{
    pa_threaded_mainloop_stop(m_mainloop);
    if (m_context) {
        pa_context_disconnect(m_context);
        pa_context_unref(m_context);
    }
    pa_threaded_mainloop_free(m_mainloop);
}

bool PulseMicrophoneAccess::isAuthorized() const
{
    Lock lock(m_mainloop);
    if (!m_context || !PA_CONTEXT_IS_GOOD(pa_context_get_state(m_context)))
        connect();
    return m_available;
}

void PulseMicrophoneAccess::requestAccess(std::function<void(bool granted)> done)
{
    QTimer::singleShot(0, [done = std::move(done), granted = isAuthorized()] { done(granted); });
}

void PulseMicrophoneAccess::connect() const
{
    if (m_context) {
        pa_context_set_state_callback(m_context, nullptr, nullptr);
        pa_context_set_subscribe_callback(m_context, nullptr, nullptr);
        pa_context_disconnect(m_context);
        pa_context_unref(m_context);
    }
    m_available = false;
    m_context = pa_context_new(pa_threaded_mainloop_get_api(m_mainloop), "Murmo");
    pa_context_set_state_callback(m_context, &PulseMicrophoneAccess::stateChanged,
                                  const_cast<PulseMicrophoneAccess*>(this));
    // No autospawn: a missing server means no microphone, not a server started behind the
    // user's back.
    pa_context_connect(m_context, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr);
}

void PulseMicrophoneAccess::stateChanged(pa_context* context, void* self)
{
    auto* access = static_cast<PulseMicrophoneAccess*>(self);
    const pa_context_state_t state = pa_context_get_state(context);
    if (!PA_CONTEXT_IS_GOOD(state)) {
        access->m_available = false;
        return;
    }
    if (state != PA_CONTEXT_READY)
        return;
    pa_context_set_subscribe_callback(
        context,
        [](pa_context*, pa_subscription_event_type_t, uint32_t, void* self) {
            static_cast<PulseMicrophoneAccess*>(self)->query();
        },
        self);
    pa_operation_unref(
        pa_context_subscribe(context,
                             static_cast<pa_subscription_mask_t>(PA_SUBSCRIPTION_MASK_SERVER |
                                                                 PA_SUBSCRIPTION_MASK_SOURCE),
                             nullptr, nullptr));
    access->query();
}

void PulseMicrophoneAccess::query() const
{
    const auto serverInfo = [](pa_context* context, const pa_server_info* info, void* self) {
        auto* access = static_cast<PulseMicrophoneAccess*>(self);
        if (!info || !info->default_source_name) {
            access->m_available = false;
            return;
        }
        const auto sourceInfo = [](pa_context*, const pa_source_info* source, int eol, void* self) {
            auto* access = static_cast<PulseMicrophoneAccess*>(self);
            if (eol < 0)
                access->m_available = false; // the default names a source that is gone
            else if (source)
                access->m_available = source->monitor_of_sink == PA_INVALID_INDEX;
        };
        pa_operation_unref(pa_context_get_source_info_by_name(context, info->default_source_name,
                                                              sourceInfo, self));
    };
    pa_operation_unref(pa_context_get_server_info(m_context, serverInfo,
                                                  const_cast<PulseMicrophoneAccess*>(this)));
}
