#pragma once

#include <QString>
#include <functional>
#include <pulse/context.h>
#include <pulse/thread-mainloop.h>

// A connection to the sound server, served by a thread of libpulse's own. When the
// server goes away it is asked again every second, so a server that comes back (or
// is restarted) is found again. Every wait is bounded: a server that is missing or
// does not answer is a problem to tell, never a hang.
class PulseConnection {
public:
    // Both run with the connection locked: ready each time a connection is made,
    // lost with the reason each time one (or an attempt to make one) ends.
    PulseConnection(std::function<void(pa_context*)> ready, std::function<void(const QString&)> lost);
    ~PulseConnection();
    PulseConnection(const PulseConnection&) = delete;
    PulseConnection& operator=(const PulseConnection&) = delete;

    // Held while a caller talks to the server; libpulse's thread waits meanwhile.
    class Lock {
    public:
        explicit Lock(PulseConnection& connection);
        ~Lock();
        Lock(const Lock&) = delete;
        Lock& operator=(const Lock&) = delete;

    private:
        pa_threaded_mainloop* m_loop;
    };

    // The calls below are made locked, never on libpulse's thread.

    // Connects now unless connected or connecting, and waits for the outcome. Empty
    // when connected; else why not.
    QString connect();
    pa_context* context() const { return m_context; }
    // Waits until op (taken over) is done, or the connection ends, or a moment
    // passes; true when it was done.
    bool finish(pa_operation* op);
    // Waits until what was asked of the server so far is done.
    void drain();
    // Why the last call failed.
    QString problem() const { return m_reason; }

private:
    static void stateChanged(pa_context* context, void* self);
    static void retry(pa_mainloop_api* api, pa_time_event* event, const struct timeval*, void* self);
    void startConnecting();
    void ended(const QString& reason);
    bool connecting() const;
    void waitUntil(const std::function<bool()>& done);

    std::function<void(pa_context*)> m_ready;
    std::function<void(const QString&)> m_lost;
    pa_threaded_mainloop* m_loop;
    pa_mainloop_api* m_api;
    pa_context* m_context = nullptr;
    pa_time_event* m_retry = nullptr;
    QString m_reason;
};

// Lets a request run on without waiting for it.
void letRun(pa_operation* op);
