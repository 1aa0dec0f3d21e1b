#pragma once

#include "sound_server/other_sounds.h"
#include "sound_server/waiting_other_sounds.h"

#include <QObject>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

// Asks what waits for the server on a thread of its own, one request after the
// other, and tells each answer on the thread that asked. The waiting one is made
// there first and goes there last.
class BackgroundOtherSounds : public QObject, public OtherSounds {
public:
    explicit BackgroundOtherSounds(std::function<std::unique_ptr<WaitingOtherSounds>()> make);
    ~BackgroundOtherSounds() override;

    void keepOff(const QString& outputName, Told told) override;
    void restore() override;

private:
    void post(std::function<void()> request);
    void serve();

    std::mutex m_lock;
    std::condition_variable m_posted;
    std::deque<std::function<void()>> m_requests;
    bool m_ending = false;
    std::unique_ptr<WaitingOtherSounds> m_sounds; // the thread's own
    std::thread m_thread; // last: it uses the members above
};
