#include "recorder/run_listening.h"

#include "common/failure.h"
#include "player/input_listener.h"

namespace {

// Longer than any round trip over a cable.
constexpr int kTailMs = 1000;

} // namespace

RunListening::RunListening(InputListener& listener, QObject* parent)
    : QObject(parent)
    , m_listener(listener)
{
    m_tail.setSingleShot(true);
    m_tail.setInterval(kTailMs);
    connect(&m_tail, &QTimer::timeout, this, &RunListening::report);
}

RunListening::~RunListening()
{
    m_listener.stop();
}

void RunListening::start(const QString& input)
{
    m_tail.stop();
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
    m_sent = sent;
    m_rule = rule;
    m_tail.start();
}

void RunListening::report()
{
    if (!m_listening)
        return;
    m_listening = false;
    m_listener.stop();
    const std::lock_guard lock(m_mutex);
    Q_EMIT reported(receivedReport(findReceived(m_heard, m_sent, m_rule), m_sent, m_rule));
}
