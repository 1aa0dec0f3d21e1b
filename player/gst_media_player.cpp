#include "player/gst_media_player.h"

#include "common/failure.h"

#include <QDir>
#include <cmath>
#include <utility>

namespace {

// The output is handed pieces of about 50 ms, the sink's segment: every piece
// wakes a thread or two, and those wake-ups are most of a run's CPU time.
constexpr qint64 kPieceFrames = GstOutputStream::kRate / 20;
constexpr qint64 kWaitingFrames = GstOutputStream::kRate / 200; // 5 ms of silence while a file is late

qint64 framesOf(const GstBufferHandle& buffer)
{
    return qint64(gst_buffer_get_size(buffer.get())) / GstOutputStream::kBytesPerFrame;
}

} // namespace

GstMediaPlayer::GstMediaPlayer(const QString& audioSink, QObject* parent)
    : MediaPlayer(parent)
    , m_output(
          audioSink, [this] { return nextSound(); },
          [this](const QString& error) { inThisPlayback([this, error] { outputFailed(error); }); })
    , m_measure(QStringLiteral("fakesink"), QStringLiteral("fakesink"))
{
    m_announce.setSingleShot(true);
    m_announce.setTimerType(Qt::PreciseTimer);
    connect(&m_announce, &QTimer::timeout, this, &GstMediaPlayer::announceHeard);
}

GstMediaPlayer::~GstMediaPlayer()
{
    endPlayback();
}

void GstMediaPlayer::setFileName(const QString& path)
{
    m_duration = 0;
    m_measure.open(path);
    double seconds = m_measure.durationSeconds();
    // Only reading on through the file tells some lengths.
    if (seconds <= 0)
        seconds = m_measure.measureDuration();
    m_measure.halt();
    m_duration = seconds;
}

double GstMediaPlayer::duration() const
{
    return m_duration;
}

void GstMediaPlayer::play(const QString& path, double silenceMs)
{
    int decoder = 0;
    {
        const std::lock_guard lock(m_feedLock);
        decoder = m_waiting >= 0 ? m_waiting : m_active == 0 ? 1 : 0;
        m_waiting = -1; // the output leaves that decoder alone while it starts anew
    }
    m_decoders[decoder].start(path);
    {
        const std::lock_guard lock(m_feedLock);
        if (!m_output.isOpen())
            m_timeline.reset();
        m_timeline.want(silenceMs);
        m_waiting = decoder;
    }
    try {
        m_output.open();
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
    m_announce.stop();
    m_toAnnounce.clear();
    m_heardStart.reset();
    m_heardEnd.reset();
    m_output.close();
    for (GstFileDecoder& decoder : m_decoders)
        decoder.halt();
    const std::lock_guard lock(m_feedLock);
    m_active = -1;
    m_waiting = -1;
    m_timeline.reset();
}

double GstMediaPlayer::currentPosition() const
{
    if (!m_output.isOpen() || !m_heardStart)
        return 0;
    double seconds = double(m_output.now() - m_timeline.nanoseconds(*m_heardStart)) / GST_SECOND;
    // Once its sound is over the file stays at its end while the output runs on.
    if (m_heardEnd)
        seconds = std::min(seconds, double(*m_heardEnd - *m_heardStart) / GstOutputStream::kRate);
    return std::max(0.0, seconds);
}

double GstMediaPlayer::startLeadMs() const
{
    // The sink takes sound its buffer ahead of what is heard; a file must be
    // asked for before that reaches its start, with room for the decoder to begin.
    return GstOutputStream::kBufferMs + 100;
}

// The output's thread, whenever it has room: the playing file's next samples, or
// silence until the waiting file is due and ready. The timestamps run on without
// a break, so the sink plays what it is given one piece after the other.
GstBufferHandle GstMediaPlayer::nextSound()
{
    const std::lock_guard lock(m_feedLock);
    qint64 frames = kPieceFrames; // of silence unless a file's samples are written
    GstBufferHandle buffer;
    for (;;) {
        if (m_active < 0 && m_waiting >= 0) {
            frames = m_timeline.silenceBeforeStart(kPieceFrames);
            if (frames > 0)
                break;
            const QString error = m_decoders[m_waiting].error();
            if (!error.isEmpty()) {
                m_waiting = -1;
                written({ Moment::Failed, m_timeline.written(), error });
                frames = kPieceFrames;
                break;
            }
            if (!m_decoders[m_waiting].ready()) {
                frames = kWaitingFrames; // due but not decoded yet: it starts as soon as it is
                if (starved(QStringLiteral("The file did not open within %1 seconds.")))
                    frames = kPieceFrames;
                break;
            }
            m_starvedFrames = 0;
            m_timeline.startFile();
            m_active = std::exchange(m_waiting, -1);
            m_silentFramesLeft = -1;
            written({ Moment::Started, m_timeline.written(), {} });
        }
        if (m_active < 0)
            break;
        buffer = nextOfActiveFile(frames);
        if (buffer || m_active >= 0)
            break;
        // The file ended here: the next may be due at once.
    }
    if (!buffer) {
        const gsize bytes = gsize(frames) * GstOutputStream::kBytesPerFrame;
        buffer.reset(gst_buffer_new_allocate(nullptr, bytes, nullptr));
        gst_buffer_memset(buffer.get(), 0, 0, bytes);
    }
    const qint64 at = m_timeline.written();
    m_timeline.advance(frames);
    GST_BUFFER_PTS(buffer.get()) = GstClockTime(m_timeline.nanoseconds(at));
    GST_BUFFER_DURATION(buffer.get()) = GstClockTime(m_timeline.nanoseconds(m_timeline.written()) - m_timeline.nanoseconds(at));
    return buffer;
}

// The active file's next samples, or null with the silence to write instead;
// at the file's end no file is active any more.
GstBufferHandle GstMediaPlayer::nextOfActiveFile(qint64& frames)
{
    GstFileDecoder& file = m_decoders[m_active];
    if (GstBufferHandle buffer = file.take(kPieceFrames)) {
        frames = framesOf(buffer);
        m_starvedFrames = 0;
        return buffer;
    }
    frames = kPieceFrames;
    if (const QString error = file.error(); !error.isEmpty()) {
        // A file that breaks off is no track: nothing more plays.
        m_active = -1;
        m_waiting = -1;
        written({ Moment::Failed, m_timeline.written(), error });
        return nullptr;
    }
    if (!file.finished()) {
        frames = kWaitingFrames; // the decoder fell behind: a moment of silence, then on
        if (starved(QStringLiteral("The file gave no sound for %1 seconds.")))
            frames = kPieceFrames;
        return nullptr;
    }
    if (m_silentFramesLeft < 0)
        m_silentFramesLeft = file.framesWithoutSound();
    if (m_silentFramesLeft > 0) {
        frames = std::min(kPieceFrames, m_silentFramesLeft);
        m_silentFramesLeft -= frames;
        return nullptr;
    }
    m_timeline.endFile();
    m_active = -1;
    written({ Moment::Ended, m_timeline.written(), {} });
    return nullptr;
}

// The output's thread: a decoder that stalls without an error must not hold the
// run for ever. True when the file is given up, with the message made from text.
bool GstMediaPlayer::starved(const QString& text)
{
    m_starvedFrames += kWaitingFrames;
    if (m_starvedFrames < qint64(GstPlaybin::kOpenTimeoutMs) * GstOutputStream::kRate / 1000)
        return false;
    const int decoder = m_active >= 0 ? m_active : m_waiting;
    const QString error = text.arg(GstPlaybin::kOpenTimeoutMs / 1000) + QLatin1Char('\n')
        + QDir::toNativeSeparators(m_decoders[decoder].path());
    m_active = -1;
    m_waiting = -1;
    m_starvedFrames = 0;
    written({ Moment::Failed, m_timeline.written(), error });
    return true;
}

// Any thread: f runs on the user-interface thread, unless the playback is over by then.
void GstMediaPlayer::inThisPlayback(std::function<void()> f)
{
    const quint64 playback = m_playback.load();
    QMetaObject::invokeMethod(
        this,
        [this, playback, f = std::move(f)] {
            if (playback == m_playback.load())
                f();
        },
        Qt::QueuedConnection);
}

// The output's thread: what it wrote is announced when it is heard.
void GstMediaPlayer::written(const Moment& moment)
{
    inThisPlayback([this, moment] {
        m_toAnnounce.push_back(moment);
        if (m_toAnnounce.size() == 1)
            announceHeard();
    });
}

// A failed output is started anew by the next play.
void GstMediaPlayer::outputFailed(const QString& error)
{
    bool playing = !m_toAnnounce.empty();
    {
        const std::lock_guard lock(m_feedLock);
        playing = playing || m_active >= 0 || m_waiting >= 0;
    }
    endPlayback();
    if (playing)
        Q_EMIT failed(error);
}

// Announces, in order, what has been heard by now, and waits for the rest.
void GstMediaPlayer::announceHeard()
{
    const quint64 playback = m_playback.load();
    while (!m_toAnnounce.empty() && playback == m_playback.load()) {
        const Moment moment = m_toAnnounce.front();
        const double leftMs = double(m_timeline.nanoseconds(moment.frame) - m_output.now()) / GST_MSECOND;
        if (leftMs > 1) {
            m_announce.start(int(std::min(std::ceil(leftMs), 3600e3)));
            return;
        }
        m_toAnnounce.pop_front();
        switch (moment.kind) {
        case Moment::Started:
            m_heardStart = moment.frame;
            m_heardEnd.reset();
            Q_EMIT soundStarted();
            break;
        case Moment::Ended:
            m_heardEnd = moment.frame;
            Q_EMIT endOfStream(0);
            break;
        case Moment::Failed:
            endPlayback();
            Q_EMIT failed(moment.error);
            return;
        }
    }
}

void GstMediaPlayer::play(const SoundSource& sound, double silenceMs)
{
    play(sound.path, silenceMs);
}

std::unique_ptr<MediaPlayer> makeMediaPlayer()
{
    return std::make_unique<GstMediaPlayer>();
}
