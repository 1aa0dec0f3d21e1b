#include "recording/gst_media_player.h"

#include "common/failure.h"

#include <gst/app/gstappsink.h>
#include <cmath>

namespace {

// The output is handed pieces of about 50 ms, the sink's segment: every piece
// wakes a thread or two, and those wake-ups are most of a run's CPU time.
constexpr qint64 kPieceFrames = GstOutputStream::kRate / 20;
constexpr qint64 kWaitingFrames = GstOutputStream::kRate / 200; // 5 ms of silence while a file is late
constexpr qint64 kQueuedFrames = GstOutputStream::kRate / 5;    // how far the decoder may run ahead

// The decoder hands over samples in the output's one format, whatever the file's
// rate and channels.
QString decodedSink()
{
    return QStringLiteral("audioconvert ! audioresample ! appsink name=decoded sync=false caps=")
        + QLatin1String(GstOutputStream::kCaps);
}

qint64 framesOf(GstBuffer* buffer)
{
    return qint64(gst_buffer_get_size(buffer)) / GstOutputStream::kBytesPerFrame;
}

} // namespace

GstMediaPlayer::GstMediaPlayer(const QString& audioSink, QObject* parent)
    : MediaPlayer(parent)
    , m_output(
          audioSink, [this] { return nextSound(); },
          [this](const QString& error) {
              // A GStreamer thread: hand the failure over to the user-interface thread.
              const quint64 playback = m_playback.load();
              QMetaObject::invokeMethod(
                  this, [this, playback, error] { outputFailed(playback, error); }, Qt::QueuedConnection);
          })
    , m_probe(QStringLiteral("fakesink"), QStringLiteral("fakesink"))
    // A file with only video lasts as long as its pictures take to show.
    , m_decoder(decodedSink(), QStringLiteral("fakesink sync=true"), [this](const QString& error) {
        if (error.isEmpty()) {
            const std::lock_guard lock(m_feedLock);
            m_decoding = false;
            return;
        }
        const quint64 playback = m_playback.load();
        QMetaObject::invokeMethod(
            this, [this, playback, error] { decoderEnded(playback, error); }, Qt::QueuedConnection);
    })
{
    m_heardEnd.setSingleShot(true);
    m_heardEnd.setTimerType(Qt::PreciseTimer);
    connect(&m_heardEnd, &QTimer::timeout, this, [this] { finishPlayback(0); });

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
    endPlayback();
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
    {
        const std::lock_guard lock(m_feedLock);
        m_hasSound = audioStreams > 0;
    }
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
    {
        const std::lock_guard lock(m_feedLock);
        if (!m_output.isOpen())
            m_timeline.reset();
        m_timeline.want(silenceMs);
        m_decoding = true;
    }
    ++m_playback;
    m_playing = true;
    try {
        m_output.open();
        m_decoder.play();
    } catch (const Failure&) {
        endPlayback();
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
    {
        const std::lock_guard lock(m_feedLock);
        m_halting = true;
    }
    m_roomInQueue.notify_all(); // a decoder thread waiting for room gives up
    m_output.close();
    m_decoder.halt();
    m_decoderAtStart = false;
    const std::lock_guard lock(m_feedLock);
    m_halting = false;
    for (GstBuffer* buffer : m_decoded)
        gst_buffer_unref(buffer);
    m_decoded.clear();
    m_decodedFrames = 0;
    m_decoding = false;
    m_fileActive = false;
    m_timeline.reset();
}

double GstMediaPlayer::currentPosition() const
{
    if (!m_output.isOpen())
        return 0;
    const std::lock_guard lock(m_feedLock);
    const std::optional<qint64> start = m_timeline.fileStart();
    if (!start)
        return 0;
    double seconds = double(m_output.now() - m_timeline.nanoseconds(*start)) / GST_SECOND;
    // Once its sound is over the file stays at its end while the output runs on.
    const std::optional<qint64> end = m_timeline.lastEnd();
    if (!m_fileActive && end && *end >= *start)
        seconds = std::min(seconds, double(*end - *start) / GstOutputStream::kRate);
    return std::max(0.0, seconds);
}

double GstMediaPlayer::startLeadMs() const
{
    // The sink takes sound its buffer ahead of what is heard; a file must be
    // asked for before that reaches its start, with room for the decoder to begin.
    return GstOutputStream::kBufferMs + 100;
}

// The decoder's thread: queues the samples for the output, waiting while it
// holds enough, so that a file is read only as fast as it plays.
GstFlowReturn GstMediaPlayer::onDecoded(GstAppSink* sink, gpointer self)
{
    auto* player = static_cast<GstMediaPlayer*>(self);
    GstSample* sample = gst_app_sink_pull_sample(sink);
    if (!sample)
        return GST_FLOW_FLUSHING;
    GstBuffer* buffer = gst_buffer_ref(gst_sample_get_buffer(sample));
    gst_sample_unref(sample);
    std::unique_lock lock(player->m_feedLock);
    player->m_roomInQueue.wait(
        lock, [player] { return player->m_halting || player->m_decodedFrames < kQueuedFrames; });
    if (player->m_halting) {
        gst_buffer_unref(buffer);
        return GST_FLOW_FLUSHING;
    }
    player->m_decoded.push_back(buffer);
    player->m_decodedFrames += framesOf(buffer);
    return GST_FLOW_OK;
}

// The output's thread, whenever it has room: the playing file's next samples, or
// silence until the waiting file is due and ready. The timestamps run on without
// a break, so the sink plays what it is given one piece after the other.
GstBuffer* GstMediaPlayer::nextSound()
{
    const std::lock_guard lock(m_feedLock);
    qint64 frames = kPieceFrames; // of silence unless the file's samples are written
    if (m_timeline.fileWaiting()) {
        frames = m_timeline.silenceBeforeStart(kPieceFrames);
        if (frames == 0 && (!m_decoded.empty() || !m_decoding || !m_hasSound)) {
            m_timeline.startFile();
            m_fileActive = true;
        } else if (frames == 0) {
            frames = kWaitingFrames; // due but not decoded yet: it starts as soon as it is
        }
    }
    GstBuffer* buffer = nullptr;
    if (m_fileActive && !m_decoded.empty()) {
        // Decoders give small buffers; joined, they pass the output in fewer pieces.
        buffer = gst_buffer_make_writable(m_decoded.front());
        m_decoded.pop_front();
        frames = framesOf(buffer);
        while (!m_decoded.empty() && frames + framesOf(m_decoded.front()) <= kPieceFrames) {
            frames += framesOf(m_decoded.front());
            buffer = gst_buffer_append(buffer, m_decoded.front());
            m_decoded.pop_front();
        }
        m_decodedFrames -= frames;
        // The decoder is woken to refill only once half the queue is gone.
        if (m_decodedFrames <= kQueuedFrames / 2)
            m_roomInQueue.notify_all();
    } else if (m_fileActive && !m_decoding) {
        m_fileActive = false;
        m_timeline.endFile();
        const quint64 playback = m_playback.load();
        const qint64 endNs = m_timeline.nanoseconds(*m_timeline.lastEnd());
        QMetaObject::invokeMethod(
            this, [this, playback, endNs] { soundWritten(playback, endNs); }, Qt::QueuedConnection);
    } else if (m_fileActive && m_hasSound) {
        frames = kWaitingFrames; // the decoder fell behind: a moment of silence, then on
    }
    if (!buffer) {
        const gsize bytes = gsize(frames) * GstOutputStream::kBytesPerFrame;
        buffer = gst_buffer_new_allocate(nullptr, bytes, nullptr);
        gst_buffer_memset(buffer, 0, 0, bytes);
    }
    const qint64 at = m_timeline.written();
    m_timeline.advance(frames);
    GST_BUFFER_PTS(buffer) = GstClockTime(m_timeline.nanoseconds(at));
    GST_BUFFER_DURATION(buffer) = GstClockTime(m_timeline.nanoseconds(m_timeline.written()) - m_timeline.nanoseconds(at));
    return buffer;
}

// The file's last sample is written; it ends when that sample is heard.
void GstMediaPlayer::soundWritten(quint64 playback, qint64 endNs)
{
    if (!m_playing || playback != m_playback.load())
        return;
    const double leftMs = double(endNs - m_output.now()) / GST_MSECOND;
    m_heardEnd.start(int(std::clamp(std::ceil(leftMs), 0.0, 3600e3)));
}

// A decoder that fails ends the playback at once, so that a run never waits for
// an end that will not come.
void GstMediaPlayer::decoderEnded(quint64 playback, const QString&)
{
    if (!m_playing || playback != m_playback.load())
        return;
    endPlayback();
    Q_EMIT endOfStream(1);
}

// A sound output that failed is started anew by the next play.
void GstMediaPlayer::outputFailed(quint64 playback, const QString& error)
{
    if (m_playing && playback == m_playback.load())
        decoderEnded(playback, error);
    else
        m_output.close();
}

void GstMediaPlayer::finishPlayback(int result)
{
    if (!m_playing)
        return;
    m_playing = false;
    Q_EMIT endOfStream(result);
}

std::unique_ptr<MediaPlayer> makeMediaPlayer()
{
    return std::make_unique<GstMediaPlayer>();
}
