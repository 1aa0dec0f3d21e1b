#include "recorder/run_listening.h"

#include "common/failure.h"
#include "player/input_listener.h"

RunListening::RunListening(InputListener& listener, QObject* parent)
    : QObject(parent)
    , m_listener(listener)
{
}

RunListening::~RunListening()
{
    m_listener.stop();
}

void RunListening::start(const QString& input)
{
    m_listener.stop();
    m_heard = {};
    m_listening = true;
    const auto take = [this](const float* samples, qint64 frames) {
        const std::lock_guard lock(m_mutex);
        m_heard.append(samples, frames);
    };
    const auto lost = [this](const QString& message) {
        QMetaObject::invokeMethod(this, [this, message] {
            if (!m_listening)
                return;
            m_listening = false;
            m_listener.stop();
            Q_EMIT failed(message);
        }, Qt::QueuedConnection);
    };
    try {
        m_listener.start(input, take, lost);
    } catch (const Failure& failure) {
        m_listening = false;
        Q_EMIT failed(failure.description());
    }
}

void RunListening::finish(const std::vector<SentEntry>& sent, const SilenceRule& rule)
{
    if (!m_listening)
        return;
    m_listening = false;
    m_listener.stop();
    const std::lock_guard lock(m_mutex);
    Q_EMIT reported(receivedReport(findReceived(m_heard, sent, rule), sent, rule));
}
