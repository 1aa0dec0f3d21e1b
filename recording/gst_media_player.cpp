#include "recording/gst_media_player.h"

#include "common/failure.h"

namespace {
// An audio sink writes to the sound server every 10 ms by default, and those
// wake-ups cost more CPU than all the rest of a run; 50 ms segments in a 400 ms
// buffer wake it a fifth as often. Starts and ends are timed from play positions,
// which do not depend on the segment size.
void lengthenAudioSegments(GstBin*, GstBin*, GstElement* element, gpointer)
{
    GObjectClass* type = G_OBJECT_GET_CLASS(element);
    if (!g_object_class_find_property(type, "latency-time") || !g_object_class_find_property(type, "buffer-time"))
        return;
    g_object_set(element, "latency-time", gint64(50000), "buffer-time", gint64(400000), nullptr);
}
} // namespace

GstMediaPlayer::GstMediaPlayer(const QString& audioSink, QObject* parent)
    : MediaPlayer(parent)
    , m_probe(QStringLiteral("fakesink"), QStringLiteral("fakesink"))
    , m_output(audioSink, QStringLiteral("fakesink sync=true"), [this](const QString& error) {
        // A GStreamer thread: hand the end over to the user-interface thread.
        const quint64 playback = m_playback.load();
        QMetaObject::invokeMethod(
            this, [this, playback, error] { finishPlayback(playback, error); }, Qt::QueuedConnection);
    })
{
    g_signal_connect(m_output.element(), "deep-element-added", G_CALLBACK(lengthenAudioSegments), nullptr);
}

void GstMediaPlayer::setFileName(const QString& path)
{
    stop();
    m_path.clear();
    m_duration = 0;
    m_probe.open(path);
    m_duration = m_probe.measureDuration();
    m_probe.halt();
    m_path = path;
}

double GstMediaPlayer::duration() const
{
    return m_duration;
}

void GstMediaPlayer::play()
{
    if (m_path.isEmpty())
        throw Failure(QStringLiteral("No media file is open."));
    m_output.open(m_path);
    ++m_playback;
    m_playing = true;
    try {
        m_output.play();
    } catch (const Failure&) {
        m_playing = false;
        throw;
    }
}

void GstMediaPlayer::stop()
{
    ++m_playback;
    m_playing = false;
    m_output.halt();
}

double GstMediaPlayer::currentPosition() const
{
    return m_output.positionSeconds();
}

// A playback that breaks off with an error ends too, so that a run never waits
// for an end that will not come; the result tells the two apart.
void GstMediaPlayer::finishPlayback(quint64 playback, const QString& error)
{
    if (!m_playing || playback != m_playback.load())
        return;
    m_playing = false;
    Q_EMIT endOfStream(error.isEmpty() ? 0 : 1);
}

std::unique_ptr<MediaPlayer> makeMediaPlayer()
{
    return std::make_unique<GstMediaPlayer>();
}
