#include "listening/run_listening.h"

#include "common/failure.h"
#include "player/input_listener.h"

#include <utility>

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

void RunListening::start(const QString& input, const QString& wavPath)
{
    m_tail.stop();
    m_listener.stop();
    finishWav();
    m_heard = {};
    m_wavNote.clear();
    if (!wavPath.isEmpty()) {
        try {
            m_wav = std::make_unique<ReceivedWav>(wavPath);
        } catch (const Failure& failure) {
            m_wavNote = QStringLiteral("The received sound is not kept: %1.").arg(failure.description());
        }
    }
    m_listening = true;
    const auto take = [this](const float* samples, qint64 frames) {
        const std::lock_guard lock(m_mutex);
        m_heard.append(samples, frames);
        if (m_wav)
            m_wav->append(samples, frames);
    };
    const auto lost = [this](const QString& message) {
        QMetaObject::invokeMethod(this, [this, message] {
            if (!m_listening)
                return;
            m_listening = false;
            m_listener.stop();
            const QString wav = finishWav();
            Q_EMIT failed(wav.isEmpty() ? message : message + u' ' + wav);
        }, Qt::QueuedConnection);
    };
    try {
        m_listener.start(input, take, lost);
    } catch (const Failure& failure) {
        m_listening = false;
        finishWav();
        if (!wavPath.isEmpty())
            QFile::remove(wavPath); // nothing was heard into it
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
    QStringList lines = receivedReport(findReceived(m_heard, m_sent, m_rule), m_sent, m_rule);
    if (const QString wav = finishWav(); !wav.isEmpty())
        lines << wav;
    Q_EMIT reported(lines);
}

QString RunListening::finishWav()
{
    if (!m_wav)
        return std::exchange(m_wavNote, {});
    m_wav->finish();
    const QString note = m_wav->note();
    m_wav.reset();
    return note;
}
