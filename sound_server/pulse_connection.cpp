#include "sound_server/pulse_connection.h"

#include <pulse/error.h>
#include <pulse/operation.h>
#include <pulse/rtclock.h>
#include <pulse/timeval.h>

namespace {

constexpr pa_usec_t kLongestWait = 2 * PA_USEC_PER_SEC;
constexpr pa_usec_t kRetryDelay = PA_USEC_PER_SEC;

void wake(pa_threaded_mainloop* loop)
{
    pa_threaded_mainloop_signal(loop, 0);
}

} // namespace

PulseConnection::Lock::Lock(PulseConnection& connection)
    : m_loop(connection.m_loop)
{
    pa_threaded_mainloop_lock(m_loop);
}

PulseConnection::Lock::~Lock()
{
    pa_threaded_mainloop_unlock(m_loop);
}

PulseConnection::PulseConnection(std::function<void(pa_context*)> ready, std::function<void(const QString&)> lost)
    : m_ready(std::move(ready))
    , m_lost(std::move(lost))
    , m_loop(pa_threaded_mainloop_new())
    , m_api(pa_threaded_mainloop_get_api(m_loop))
{
    pa_threaded_mainloop_start(m_loop);
    Lock lock(*this);
    startConnecting();
}

PulseConnection::~PulseConnection()
{
    {
        Lock lock(*this);
        if (m_retry)
            m_api->time_free(m_retry);
        pa_context_set_state_callback(m_context, nullptr, nullptr);
        pa_context_disconnect(m_context);
        pa_context_unref(m_context);
    }
    pa_threaded_mainloop_stop(m_loop);
    pa_threaded_mainloop_free(m_loop);
}

QString PulseConnection::connect()
{
    if (!connecting() && pa_context_get_state(m_context) != PA_CONTEXT_READY)
        startConnecting();
    waitUntil([this] { return !connecting(); });
    if (pa_context_get_state(m_context) == PA_CONTEXT_READY)
        return {};
    if (connecting())
        m_reason = QString::fromUtf8(pa_strerror(PA_ERR_TIMEOUT));
    return m_reason;
}

bool PulseConnection::finish(pa_operation* op)
{
    if (!op) {
        m_reason = QString::fromUtf8(pa_strerror(pa_context_errno(m_context)));
        return false;
    }
    pa_operation_set_state_callback(
        op, [](pa_operation*, void* loop) { wake(static_cast<pa_threaded_mainloop*>(loop)); }, m_loop);
    waitUntil([op] { return pa_operation_get_state(op) != PA_OPERATION_RUNNING; });
    if (pa_operation_get_state(op) == PA_OPERATION_RUNNING) {
        pa_operation_cancel(op);
        m_reason = QString::fromUtf8(pa_strerror(PA_ERR_TIMEOUT));
    }
    const bool done = pa_operation_get_state(op) == PA_OPERATION_DONE;
    pa_operation_unref(op);
    return done;
}

void PulseConnection::drain()
{
    // No operation when nothing is pending.
    if (pa_operation* op = pa_context_drain(m_context, [](pa_context*, void*) {}, nullptr))
        finish(op);
}

void PulseConnection::stateChanged(pa_context* context, void* self)
{
    auto* connection = static_cast<PulseConnection*>(self);
    const pa_context_state_t state = pa_context_get_state(context);
    if (state == PA_CONTEXT_READY)
        connection->m_ready(context);
    else if (!PA_CONTEXT_IS_GOOD(state))
        connection->ended(QString::fromUtf8(pa_strerror(pa_context_errno(context))));
    wake(connection->m_loop);
}

void PulseConnection::retry(pa_mainloop_api* api, pa_time_event* event, const struct timeval*, void* self)
{
    auto* connection = static_cast<PulseConnection*>(self);
    api->time_free(event);
    connection->m_retry = nullptr;
    connection->startConnecting();
}

void PulseConnection::startConnecting()
{
    if (m_retry) {
        m_api->time_free(m_retry);
        m_retry = nullptr;
    }
    if (m_context) {
        pa_context_set_state_callback(m_context, nullptr, nullptr);
        pa_context_disconnect(m_context);
        pa_context_unref(m_context);
    }
    // A new context reads the client settings afresh, where the server is among them.
    m_context = pa_context_new(m_api, "Trelvik");
    pa_context_set_state_callback(m_context, stateChanged, this);
    // A refusal found at once may not come through the state callback.
    if (pa_context_connect(m_context, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) < 0
        && pa_context_get_state(m_context) == PA_CONTEXT_UNCONNECTED)
        ended(QString::fromUtf8(pa_strerror(pa_context_errno(m_context))));
}

void PulseConnection::ended(const QString& reason)
{
    m_reason = reason;
    m_lost(reason);
    if (!m_retry)
        m_retry = pa_context_rttime_new(m_context, pa_rtclock_now() + kRetryDelay, retry, this);
}

bool PulseConnection::connecting() const
{
    const pa_context_state_t state = pa_context_get_state(m_context);
    return PA_CONTEXT_IS_GOOD(state) && state != PA_CONTEXT_READY;
}

void PulseConnection::waitUntil(const std::function<bool()>& done)
{
    struct Deadline {
        pa_threaded_mainloop* loop;
        bool passed = false;
    } deadline { m_loop };
    pa_time_event* event = pa_context_rttime_new(
        m_context, pa_rtclock_now() + kLongestWait,
        [](pa_mainloop_api*, pa_time_event*, const struct timeval*, void* data) {
            auto* deadline = static_cast<Deadline*>(data);
            deadline->passed = true;
            wake(deadline->loop);
        },
        &deadline);
    while (!done() && !deadline.passed)
        pa_threaded_mainloop_wait(m_loop);
    m_api->time_free(event);
}

void letRun(pa_operation* op)
{
    if (op)
        pa_operation_unref(op);
}
