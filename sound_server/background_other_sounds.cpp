#include "sound_server/background_other_sounds.h"

BackgroundOtherSounds::BackgroundOtherSounds(std::function<std::unique_ptr<WaitingOtherSounds>()> make)
    : m_thread([this] { serve(); })
{
    post([this, make = std::move(make)] { m_sounds = make(); });
}

BackgroundOtherSounds::~BackgroundOtherSounds()
{
    post([this] { m_sounds.reset(); });
    {
        const std::lock_guard lock(m_lock);
        m_ending = true;
    }
    m_posted.notify_one();
    m_thread.join();
}

void BackgroundOtherSounds::keepOff(const QString& outputName, Told told)
{
    post([this, outputName, told = std::move(told)] {
        const QString problem = m_sounds->keepOff(outputName);
        // Dropped with this object if it goes before the answer is told.
        QMetaObject::invokeMethod(this, [told, problem] { told(problem); }, Qt::QueuedConnection);
    });
}

void BackgroundOtherSounds::restore()
{
    post([this] { m_sounds->restore(); });
}

void BackgroundOtherSounds::post(std::function<void()> request)
{
    {
        const std::lock_guard lock(m_lock);
        m_requests.push_back(std::move(request));
    }
    m_posted.notify_one();
}

// Serves every request, also those posted on the way out, then ends.
void BackgroundOtherSounds::serve()
{
    std::unique_lock lock(m_lock);
    for (;;) {
        m_posted.wait(lock, [this] { return m_ending || !m_requests.empty(); });
        if (m_requests.empty())
            return;
        const std::function<void()> request = std::move(m_requests.front());
        m_requests.pop_front();
        lock.unlock();
        request();
        lock.lock();
    }
}
