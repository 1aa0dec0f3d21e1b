#include "player/gst_media_player.h"

#include "common/failure.h"

#include <QDir>
#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

namespace {

// The output is handed pieces of about 50 ms, the sink's segment: every piece
// wakes a thread or two, and those wake-ups are most of a run's CPU time.
constexpr qint64 kPieceFrames = GstOutputStream::kRate / 20;
constexpr qint64 kWaitingFrames = GstOutputStream::kRate / 200; // 5 ms of silence while a file is late
// A stop, which waits for the output's thread, waits at most this long for a wait on a decoder
// or for the next file.
constexpr int kWaitSliceMs = 10;
// What the output's thread waits for when it has nothing to write yet: a decoder (by its
// index), or the next file to be handed to play().
constexpr int kNextFile = std::numeric_limits<int>::max();
// Silence is taken back no nearer to what is heard than this: the sound server must
// have the new samples before it plays that far, and it may already have sent a
// little more than is heard to its device, where it cannot take it back. A busy
// machine can keep the samples from the server for tens of milliseconds, and what
// comes later than its moment is lost from the start of the track.
constexpr qint64 kTakeBackMarginFrames = GstOutputStream::kRate / 10;
// A file's end is announced this long after the output's clock says it is heard. On a
// busy machine the sound server's clock runs a millisecond or two ahead of what it has
// played, and a run that ends on the end of its last file stops the output there.
constexpr double kEndHeardMarginMs = 50;

void applyGain(GstBufferHandle& buffer, float gain)
{
    buffer.reset(gst_buffer_make_writable(buffer.release()));
    GstMapInfo map;
    if (!gst_buffer_map(buffer.get(), &map, GST_MAP_READWRITE))
        return;
    auto* samples = reinterpret_cast<float*>(map.data);
    for (gsize i = 0; i < map.size / sizeof(float); ++i)
        samples[i] *= gain;
    gst_buffer_unmap(buffer.get(), &map);
}

qint64 framesOf(const GstBufferHandle& buffer)
{
    return qint64(gst_buffer_get_size(buffer.get())) / GstOutputStream::kBytesPerFrame;
}

} // namespace

GstMediaPlayer::GstMediaPlayer(const QString& audioSink, QObject* parent)
    : MediaPlayer(parent)
    , m_audioSink(audioSink)
    , m_output(makeOutput({}))
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

std::unique_ptr<GstOutputStream> GstMediaPlayer::makeOutput(const QString& outputName)
{
    return std::make_unique<GstOutputStream>(
        m_audioSink, outputName, [this] { return nextSound(); },
        [this](const QString& error) { inThisPlayback([this, error] { outputFailed(error); }); });
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

void GstMediaPlayer::play(const SoundSource& source, double silenceMs, double gainDb)
{
    const int decoder = freeDecoder(); // the output leaves it alone while it starts anew
    m_decoders[decoder].start(source);
    {
        const std::lock_guard lock(m_feedLock);
        if (!m_output->isOpen())
            m_timeline.reset();
        m_timeline.want(silenceMs);
        m_waiting.push_back(decoder);
        m_gains[decoder] = gainDb == 0 ? 1.0f : float(std::pow(10.0, gainDb / 20));
    }
    m_handedOver.notify_all();
    try {
        // Each start plays on a stream of its own: a kept one may hold a connection the
        // sound server has dropped since, or have been moved to another output when its
        // own went away. Nothing plays while it is closed, so no thread uses the one that goes.
        if (!m_output->isOpen())
            m_output = makeOutput(m_outputName);
        m_output->open();
    } catch (const Failure&) {
        endPlayback();
        throw;
    }
}

void GstMediaPlayer::resume(double silenceMs)
{
    {
        const std::lock_guard lock(m_feedLock);
        m_timeline.resume(heardFrame(), silenceMs);
    }
    m_handedOver.notify_all();
}

// A decoder neither playing nor waiting: when as many files wait as may, the last
// of them makes room.
int GstMediaPlayer::freeDecoder()
{
    const std::lock_guard lock(m_feedLock);
    if (int(m_waiting.size()) == kFilesWaiting) {
        m_waiting.pop_back();
        m_timeline.forgetLastWaiting();
    }
    for (int decoder = 0;; ++decoder) {
        if (decoder != m_active && std::find(m_waiting.begin(), m_waiting.end(), decoder) == m_waiting.end())
            return decoder;
    }
}

// Under the feed lock: nothing more plays.
void GstMediaPlayer::dropFiles()
{
    m_active = -1;
    m_waiting.clear();
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
    m_closing = true;
    m_output->close();
    m_closing = false;
    for (GstFileDecoder& decoder : m_decoders)
        decoder.halt();
    const std::lock_guard lock(m_feedLock);
    dropFiles();
    m_starvedSince.reset();
    m_sinkFill = 0;
    m_sinkPlays = false;
    m_takenBack = false;
    m_refilling = false;
    m_lateTold = false;
    m_timeline.reset();
    m_heardPeaks.reset();
}

double GstMediaPlayer::currentPosition() const
{
    if (!m_output->isOpen() || !m_heardStart)
        return 0;
    double seconds = double(m_output->now() - m_timeline.nanoseconds(*m_heardStart)) / GST_SECOND;
    // Once its sound is over the file stays at its end while the output runs on.
    if (m_heardEnd)
        seconds = std::min(seconds, double(*m_heardEnd - *m_heardStart) / GstOutputStream::kRate);
    return std::max(0.0, seconds);
}

void GstMediaPlayer::setOutput(const QString& outputName)
{
    m_outputName = outputName;
}

StereoPeak GstMediaPlayer::takeHeardPeak()
{
    if (!m_output->isOpen())
        return {};
    return m_heardPeaks.take(heardFrame());
}

// The frame of the output's timeline heard now; any thread.
qint64 GstMediaPlayer::heardFrame() const
{
    return qint64(double(m_output->now()) * GstOutputStream::kRate / GST_SECOND);
}

// The output's thread, whenever it has room: the playing file's next samples, or
// silence until the waiting file is due and ready. The timestamps run on without
// a break, so the sink plays what it is given one piece after the other. A decoder
// that falls behind is waited for, the feed unlocked meanwhile: silence in a
// file's sound would be a break, and the sink plays on from what it holds.
GstBufferHandle GstMediaPlayer::nextSound()
{
    const quint64 playback = m_playback.load();
    std::unique_lock lock(m_feedLock);
    qint64 frames = kPieceFrames; // of silence unless a file's samples are written
    GstBufferHandle buffer;
    for (int waitFor = -1;; waitFor = -1) {
        buffer = nextPiece(frames, waitFor);
        // A stop waits for this thread, and while the output closes its clock stands still.
        if (waitFor < 0 || playback != m_playback.load() || m_closing)
            break;
        if (waitFor == kNextFile) {
            m_handedOver.wait_for(lock, std::chrono::milliseconds(kWaitSliceMs));
            continue;
        }
        lock.unlock();
        m_decoders[waitFor].waitUntilReady(kWaitSliceMs);
        lock.lock();
    }
    const qint64 at = m_timeline.written();
    if (buffer) {
        writePeaks(buffer, at);
    } else {
        const gsize bytes = gsize(frames) * GstOutputStream::kBytesPerFrame;
        buffer.reset(gst_buffer_new_allocate(nullptr, bytes, nullptr));
        gst_buffer_memset(buffer.get(), 0, 0, bytes);
    }
    watchSinkLead(sinkLead(), m_active >= 0);
    m_timeline.advance(frames);
    GST_BUFFER_PTS(buffer.get()) = GstClockTime(m_timeline.nanoseconds(at));
    if (std::exchange(m_takenBack, false)) // else the sink would write it after what it has
        GST_BUFFER_FLAG_SET(buffer.get(), GST_BUFFER_FLAG_DISCONT);
    GST_BUFFER_DURATION(buffer.get()) = GstClockTime(m_timeline.nanoseconds(m_timeline.written()) - m_timeline.nanoseconds(at));
    return buffer;
}

// The output's thread: a file's samples written from frame on, for the level heard.
// Each of the buffer's pieces of memory is read where it lies.
void GstMediaPlayer::writePeaks(const GstBufferHandle& buffer, qint64 frame)
{
    for (guint i = 0; i < gst_buffer_n_memory(buffer.get()); ++i) {
        GstMemory* memory = gst_buffer_peek_memory(buffer.get(), i);
        GstMapInfo map;
        if (!gst_memory_map(memory, &map, GST_MAP_READ))
            continue;
        const qint64 frames = qint64(map.size) / GstOutputStream::kBytesPerFrame;
        m_heardPeaks.write(frame, reinterpret_cast<const float*>(map.data), frames);
        frame += frames;
        gst_memory_unmap(memory, &map);
    }
}

// Under the feed lock: the next samples to write; or null with the frames of
// silence to write instead, or with the decoder to wait for first.
GstBufferHandle GstMediaPlayer::nextPiece(qint64& frames, int& waitFor)
{
    for (;;) {
        if (m_active < 0 && !m_waiting.empty()) {
            if (!sinkPlays(frames))
                return nullptr;
            if (m_timeline.held()) {
                // As between files: the sink runs short of silence before more is written,
                // so that little has to be taken back.
                frames = kWaitingFrames;
                if (sinkHoldsPlenty())
                    waitFor = kNextFile;
                return nullptr;
            }
            frames = m_timeline.silenceBeforeStart(kPieceFrames);
            if (frames > 0)
                return nullptr;
            const int next = m_waiting.front();
            const QString error = m_decoders[next].error();
            if (!error.isEmpty()) {
                dropFiles();
                written({ Moment::Failed, m_timeline.written(), error });
                frames = kPieceFrames;
                return nullptr;
            }
            if (!m_decoders[next].ready()) {
                // Due but not decoded yet: while the sink holds plenty the file is waited
                // for and starts at its place; else as soon as it can, the silence longer,
                // rather than have its start come too late and be dropped.
                frames = kWaitingFrames;
                if (!starved(QStringLiteral("The file did not open within %1 seconds.")) && sinkHoldsPlenty())
                    waitFor = next;
                return nullptr;
            }
            m_starvedSince.reset();
            takeBackSilence();
            m_timeline.startFile();
            m_active = next;
            m_waiting.pop_front();
            m_silentFramesLeft = -1;
            inThisPlayback([this] { Q_EMIT soundTaken(); });
            written({ Moment::Started, m_timeline.written(), {} });
        }
        if (m_active < 0) {
            // Between files: the run hands the next one on the window's thread, which may be
            // slow to come. Silence is written only as the sink runs short of it, so that a
            // file handed late still starts at its place.
            frames = kWaitingFrames;
            if (sinkHoldsPlenty())
                waitFor = kNextFile;
            return nullptr;
        }
        GstBufferHandle buffer = nextOfActiveFile(frames, waitFor);
        if (buffer || m_active >= 0)
            return buffer;
        // The file ended here: the next may be due at once.
    }
}

// The active file's next samples; or null with the silence to write instead, or
// with its decoder to wait for. At the file's end no file is active any more.
GstBufferHandle GstMediaPlayer::nextOfActiveFile(qint64& frames, int& waitFor)
{
    GstFileDecoder& file = m_decoders[m_active];
    if (GstBufferHandle buffer = file.take(kPieceFrames)) {
        frames = framesOf(buffer);
        m_starvedSince.reset();
        if (m_gains[m_active] != 1)
            applyGain(buffer, m_gains[m_active]);
        return buffer;
    }
    frames = kPieceFrames;
    if (const QString error = file.error(); !error.isEmpty()) {
        // A file that breaks off is no track: nothing more plays.
        dropFiles();
        written({ Moment::Failed, m_timeline.written(), error });
        return nullptr;
    }
    if (!file.finished()) {
        if (!starved(QStringLiteral("The file gave no sound for %1 seconds.")))
            waitFor = m_active;
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

// Under the feed lock: whether the sink plays what it is given. Until it is full it
// plays nothing, though its clock runs, so a short run would end before a sound of it
// was heard: the first file waits behind silence that fills the sink. Else frames
// is the silence to write.
bool GstMediaPlayer::sinkPlays(qint64& frames)
{
    if (m_sinkPlays)
        return true;
    const std::optional<qint64> fill = m_output->startingFill();
    const qint64 written = m_timeline.nanoseconds(m_timeline.written());
    if (fill && written >= *fill) {
        m_sinkPlays = true;
        return true;
    }
    // The sink says how much it takes once the first sound has reached it.
    frames = fill ? std::min(kPieceFrames, (*fill - written) * GstOutputStream::kRate / GST_SECOND + 1) : kWaitingFrames;
    return false;
}

// Under the feed lock, as a held file starts: the silence written beyond its moment
// is written over, as long as the sound server has not played it yet.
void GstMediaPlayer::takeBackSilence()
{
    if (m_timeline.takeBackSilence(heardFrame() + kTakeBackMarginFrames) > 0) {
        m_takenBack = true;
        m_refilling = true;
    }
}

// How far ahead of what is heard the output writes now, in nanoseconds.
qint64 GstMediaPlayer::sinkLead() const
{
    return m_timeline.nanoseconds(m_timeline.written()) - m_output->now();
}

// Whether the sink holds well over the half of its sound that it must keep (see
// watchSinkLead), so the output may wait before writing more.
bool GstMediaPlayer::sinkHoldsPlenty() const
{
    return sinkLead() > m_sinkFill * 5 / 8;
}

// The output's thread, before writing with the sink the given lead ahead of what
// is heard. Once it has filled, the sink holds about the same ahead all the time.
// Of that a sound server keeps up to half for its device, and plays silence when
// the rest runs out. A file's samples written while the sink holds less than half
// of what it held, or after their moment, come too late to be heard at their place:
// the sound breaks there.
void GstMediaPlayer::watchSinkLead(qint64 lead, bool fileSound)
{
    m_sinkFill = std::max(m_sinkFill, lead);
    // After silence was taken back the server rewinds what it sent on to its device,
    // so until the sink has filled again only samples whose moment has passed are lost.
    if (m_refilling && lead >= m_sinkFill / 2)
        m_refilling = false;
    const qint64 least = m_refilling ? 0 : m_sinkFill / 2;
    if (lead >= least) {
        m_lateTold = false;
    } else if (fileSound && !m_lateTold) {
        m_lateTold = true;
        written({ Moment::Broke, m_timeline.written(), {} });
    }
}

// The output's thread: a decoder that stalls without an error must not hold the
// run for ever. True when the file is given up, with the message made from text.
bool GstMediaPlayer::starved(const QString& text)
{
    const auto now = std::chrono::steady_clock::now();
    if (!m_starvedSince)
        m_starvedSince = now;
    if (now - *m_starvedSince < std::chrono::milliseconds(GstPlaybin::kOpenTimeoutMs))
        return false;
    const int decoder = m_active >= 0 ? m_active : m_waiting.front();
    const QString error = text.arg(GstPlaybin::kOpenTimeoutMs / 1000) + QLatin1Char('\n')
        + QDir::toNativeSeparators(m_decoders[decoder].path());
    dropFiles();
    m_starvedSince.reset();
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
        playing = playing || m_active >= 0 || !m_waiting.empty();
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
        // Not a moment early: a run that ends on the last file's end stops the output,
        // and would cut off what is still to be heard.
        const double leftMs = double(m_timeline.nanoseconds(moment.frame) - m_output->now()) / GST_MSECOND
            + (moment.kind == Moment::Ended ? kEndHeardMarginMs : 0);
        if (leftMs > 0) {
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
        case Moment::Broke:
            if (m_heardStart)
                Q_EMIT breakHeard(double(moment.frame - *m_heardStart) / GstOutputStream::kRate);
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

std::unique_ptr<MediaPlayer> makeMediaPlayer()
{
    return std::make_unique<GstMediaPlayer>();
}
