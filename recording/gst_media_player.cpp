#include "recording/gst_media_player.h"

#include "common/failure.h"

#include <gst/app/gstappsink.h>
#include <cmath>

namespace {

// The decoder hands over samples in the output's one format, whatever the file's
// rate and channels, as fast as the output takes them.
QString decodedSink()
{
    return QStringLiteral("audioconvert ! audioresample ! appsink name=decoded sync=false caps=")
        + QLatin1String(GstOutputStream::kCaps);
}

} // namespace

GstMediaPlayer::GstMediaPlayer(const QString& audioSink, QObject* parent)
    : MediaPlayer(parent)
    , m_output(audioSink,
          [this](const QString& error) {
              // A GStreamer thread: hand the failure over to the user-interface thread.
              const quint64 playback = m_playback.load();
              QMetaObject::invokeMethod(
                  this, [this, playback, error] { outputFailed(playback, error); }, Qt::QueuedConnection);
          })
    , m_probe(QStringLiteral("fakesink"), QStringLiteral("fakesink"))
    // A file with only video lasts as long as its pictures take to show.
    , m_decoder(decodedSink(), QStringLiteral("fakesink sync=true"), [this](const QString& error) {
        const quint64 playback = m_playback.load();
        QMetaObject::invokeMethod(
            this, [this, playback, error] { decoderEnded(playback, error); }, Qt::QueuedConnection);
    })
{
    m_heardEnd.setSingleShot(true);
    m_heardEnd.setTimerType(Qt::PreciseTimer);
    connect(&m_heardEnd, &QTimer::timeout, this, [this] { finishPlayback(m_playback.load(), 0); });

    GstElement* decoderSink = nullptr;
    g_object_get(m_decoder.element(), "audio-sink", &decoderSink, nullptr);
    const GstElementHandle ownedSink(decoderSink);
    const GstElementHandle decoded(gst_bin_get_by_name(GST_BIN(decoderSink), "decoded"));
    GstAppSinkCallbacks callbacks {};
    callbacks.new_sample = &GstMediaPlayer::onDecoded;
    gst_app_sink_set_callbacks(GST_APP_SINK(decoded.get()), &callbacks, this, nullptr);
}

GstMediaPlayer::~GstMediaPlayer()
{
    // Closing the output first frees a decoder thread that waits for room in it.
    m_output.close();
    m_decoder.halt();
}

void GstMediaPlayer::setFileName(const QString& path)
{
    if (m_playing)
        endPlayback();
    m_path.clear();
    m_duration = 0;
    m_decoder.open(path);
    m_duration = m_decoder.durationSeconds();
    if (m_duration <= 0) {
        // Only reading on through the file tells its length; the probe does that,
        // leaving the decoder at the start.
        m_probe.open(path);
        m_duration = m_probe.measureDuration();
        m_probe.halt();
    }
    gint audioStreams = 0;
    g_object_get(m_decoder.element(), "n-audio", &audioStreams, nullptr);
    m_hasSound = audioStreams > 0;
    m_path = path;
    m_decoderAtStart = true;
}

double GstMediaPlayer::duration() const
{
    return m_duration;
}

void GstMediaPlayer::play(double silenceMs)
{
    if (m_path.isEmpty())
        throw Failure(QStringLiteral("No media file is open."));
    if (m_playing)
        endPlayback();
    if (!m_decoderAtStart)
        m_decoder.open(m_path);
    m_decoderAtStart = false;
    m_output.open();
    {
        const std::lock_guard lock(m_timelineLock);
        m_timeline.want(silenceMs);
        m_frames = 0;
        // Without samples to place, a file's silent time starts with its pictures.
        if (!m_hasSound)
            m_timeline.place(m_output.now());
    }
    ++m_playback;
    m_playing = true;
    try {
        m_decoder.play();
    } catch (const Failure&) {
        m_playing = false;
        throw;
    }
}

void GstMediaPlayer::stop()
{
    endPlayback();
}

// Cuts the sound at once and lets the output go; the next play starts it anew.
void GstMediaPlayer::endPlayback()
{
    ++m_playback;
    m_playing = false;
    m_heardEnd.stop();
    m_output.close();
    m_decoder.halt();
    m_decoderAtStart = false;
    const std::lock_guard lock(m_timelineLock);
    m_timeline.reset();
    m_frames = 0;
}

double GstMediaPlayer::currentPosition() const
{
    if (!m_output.isOpen())
        return 0;
    const std::lock_guard lock(m_timelineLock);
    const std::optional<qint64> start = m_timeline.start();
    if (!start)
        return 0;
    double seconds = double(m_output.now() - *start) / GST_SECOND;
    // Once all samples are heard the output runs on in silence; the file stays at its end.
    if (m_frames > 0)
        seconds = std::min(seconds, double(m_frames) / GstOutputStream::kRate);
    return std::max(0.0, seconds);
}

double GstMediaPlayer::startLeadMs() const
{
    // Room for the timer, the decoder's start and placing the samples ahead of the clock.
    return 150;
}

// The decoder's thread, once for every block of samples: each goes onto the
// output's timeline right after the one before, the first where the timeline
// places the file.
GstFlowReturn GstMediaPlayer::onDecoded(GstAppSink* sink, gpointer self)
{
    auto* player = static_cast<GstMediaPlayer*>(self);
    GstSample* sample = gst_app_sink_pull_sample(sink);
    if (!sample)
        return GST_FLOW_FLUSHING;
    GstBuffer* buffer = gst_buffer_make_writable(gst_buffer_ref(gst_sample_get_buffer(sample)));
    gst_sample_unref(sample);
    const qint64 frames = qint64(gst_buffer_get_size(buffer)) / GstOutputStream::kBytesPerFrame;
    {
        const std::lock_guard lock(player->m_timelineLock);
        if (!player->m_timeline.start()) {
            player->m_timeline.place(player->m_output.now());
            GST_BUFFER_FLAG_SET(buffer, GST_BUFFER_FLAG_DISCONT);
        }
        const qint64 at = player->m_timeline.at(player->m_frames, GstOutputStream::kRate);
        player->m_frames += frames;
        GST_BUFFER_PTS(buffer) = GstClockTime(at);
        GST_BUFFER_DURATION(buffer)
            = GstClockTime(player->m_timeline.at(player->m_frames, GstOutputStream::kRate) - at);
    }
    return player->m_output.push(buffer) ? GST_FLOW_OK : GST_FLOW_FLUSHING;
}

// All samples are with the output, or the decoder failed. A file
// that played to its end ends when its last sample is heard; a failure ends it
// at once, so that a run never waits for an end that will not come.
void GstMediaPlayer::decoderEnded(quint64 playback, const QString& error)
{
    if (!m_playing || playback != m_playback.load())
        return;
    if (!error.isEmpty()) {
        endPlayback();
        Q_EMIT endOfStream(1);
        return;
    }
    qint64 end = 0;
    {
        const std::lock_guard lock(m_timelineLock);
        end = m_timeline.finish(m_frames, GstOutputStream::kRate, m_output.now());
    }
    const double leftMs = double(end - m_output.now()) / GST_MSECOND;
    m_heardEnd.start(int(std::clamp(std::ceil(leftMs), 0.0, 3600e3)));
}

// A sound output that failed is started anew by the next play.
void GstMediaPlayer::outputFailed(quint64 playback, const QString& error)
{
    if (m_playing && playback == m_playback.load())
        decoderEnded(playback, error);
    else
        m_output.close();
}

void GstMediaPlayer::finishPlayback(quint64 playback, int result)
{
    if (!m_playing || playback != m_playback.load())
        return;
    m_playing = false;
    Q_EMIT endOfStream(result);
}

std::unique_ptr<MediaPlayer> makeMediaPlayer()
{
    return std::make_unique<GstMediaPlayer>();
}
