#include "player/gst_file_decoder.h"

#include "file_headers/file_stretch.h"

#include <QDir>
#include <QFile>
#include <QtEndian>
#include <algorithm>
#include <limits>
#include <utility>
#include <gst/app/gstappsink.h>

namespace {

// The decoder hands over samples in the output's one format, whatever the file's
// rate and channels.
QString decodedSink()
{
    return QStringLiteral("audioconvert ! audioresample ! appsink name=decoded sync=false caps=")
        + QLatin1String(GstOutputStream::kCaps);
}

qint64 framesOf(const GstBufferHandle& buffer)
{
    return qint64(gst_buffer_get_size(buffer.get())) / GstOutputStream::kBytesPerFrame;
}

// The next decoded samples, or null when the sink is flushing. The sample is let
// go at once; only its buffer is kept.
GstBufferHandle pullBuffer(GstAppSink* sink)
{
    const GstSampleHandle sample(gst_app_sink_pull_sample(sink));
    if (!sample)
        return nullptr;
    return GstBufferHandle(gst_buffer_ref(gst_sample_get_buffer(sample.get())));
}

// The part of a buffer that begins at frame first of the file and lies within
// [from, to); null when none does.
GstBufferHandle framesWithin(GstBufferHandle buffer, qint64 first, qint64 from, qint64 to)
{
    const qint64 frames = framesOf(buffer);
    const qint64 begin = std::max(first, from), end = std::min(first + frames, to);
    if (begin >= end)
        return nullptr;
    if (end - begin == frames)
        return buffer;
    const qint64 bytes = GstOutputStream::kBytesPerFrame;
    return GstBufferHandle(gst_buffer_copy_region(buffer.get(), GST_BUFFER_COPY_ALL, gsize((begin - first) * bytes),
                                                  gsize((end - begin) * bytes)));
}

// 16-bit stereo samples as the output's floating-point ones.
GstBufferHandle floatFrames(const QByteArray& bytes, qint64 frames, bool bigEndian)
{
    GstBufferHandle buffer(gst_buffer_new_allocate(nullptr, gsize(frames * GstOutputStream::kBytesPerFrame), nullptr));
    GstMapInfo map;
    gst_buffer_map(buffer.get(), &map, GST_MAP_WRITE);
    auto* out = reinterpret_cast<float*>(map.data);
    const auto* in = reinterpret_cast<const uchar*>(bytes.constData());
    for (qint64 i = 0; i < frames * 2; ++i) {
        const qint16 sample = bigEndian ? qFromBigEndian<qint16>(in + 2 * i) : qFromLittleEndian<qint16>(in + 2 * i);
        out[i] = float(sample) / 32768.0f;
    }
    gst_buffer_unmap(buffer.get(), &map);
    return buffer;
}

} // namespace

// Pictures are decoded as fast as they come, only to learn how long a file
// without sound lasts; they are never shown.
GstFileDecoder::GstFileDecoder()
    : m_playbin(decodedSink(), QStringLiteral("fakesink"), [this](const QString& error) { streamEnded(error); })
{
    GstElement* bin = nullptr;
    g_object_get(m_playbin.element(), "audio-sink", &bin, nullptr);
    const GstElementHandle ownedBin(bin);
    const GstElementHandle decoded(gst_bin_get_by_name(GST_BIN(bin), "decoded"));
    GstAppSinkCallbacks callbacks {};
    callbacks.new_sample = &GstFileDecoder::onDecoded;
    gst_app_sink_set_callbacks(GST_APP_SINK(decoded.get()), &callbacks, this, nullptr);
}

GstFileDecoder::~GstFileDecoder()
{
    halt();
}

void GstFileDecoder::start(const SoundSource& source)
{
    halt();
    const FileStretch stretch = source.kind == SoundSource::Kind::File
        ? fileStretch(source.path, source.firstFrame, source.endFrame, GstOutputStream::kRate)
        : FileStretch{source.firstFrame, source.endFrame, {}};
    {
        const std::lock_guard lock(m_lock);
        m_decoding = true;
        // What a message names: for a disc in a drive, the track that failed.
        m_path = source.kind == SoundSource::Kind::DriveTrack
            ? QStringLiteral("%1, track %2").arg(source.path).arg(source.track)
            : source.path;
        m_decodedFrames = 0;
        // A raw image is read from the stretch's first byte; the others are trimmed as they decode.
        m_skipFrames = source.kind == SoundSource::Kind::RawImage ? 0 : stretch.skipFrames;
        m_endFrame = source.kind == SoundSource::Kind::RawImage ? -1 : stretch.endFrame;
    }
    switch (source.kind) {
    case SoundSource::Kind::File:
        m_playbin.start(source.path, stretch.patches);
        break;
    case SoundSource::Kind::RawImage:
        m_rawReader = std::thread([this, source] { readRawImage(source); });
        break;
    case SoundSource::Kind::DriveTrack:
        m_playbin.startCdTrack(source.path, source.track);
        break;
    }
}

void GstFileDecoder::halt()
{
    {
        const std::lock_guard lock(m_lock);
        m_halting = true;
    }
    m_room.notify_all(); // a decoder thread waiting for room gives up
    m_playbin.halt();
    if (m_rawReader.joinable())
        m_rawReader.join();
    const std::lock_guard lock(m_lock);
    m_halting = false;
    m_queue.clear();
    m_queuedFrames = 0;
    m_decoding = false;
    m_hadSound = false;
    m_error.clear();
}

// A GStreamer thread: queues the samples for the output, waiting while it
// holds enough.
GstFlowReturn GstFileDecoder::onDecoded(GstAppSink* sink, gpointer self)
{
    auto* decoder = static_cast<GstFileDecoder*>(self);
    GstBufferHandle buffer = pullBuffer(sink);
    if (!buffer)
        return GST_FLOW_FLUSHING;
    std::unique_lock lock(decoder->m_lock);
    if (!decoder->m_decoding)
        return GST_FLOW_EOS; // past the end of the stretch
    bool last = false;
    if (decoder->m_skipFrames > 0 || decoder->m_endFrame >= 0) {
        const qint64 first = decoder->m_decodedFrames;
        const qint64 end = decoder->m_endFrame < 0 ? std::numeric_limits<qint64>::max() : decoder->m_endFrame;
        decoder->m_decodedFrames += framesOf(buffer);
        last = decoder->m_decodedFrames >= end;
        buffer = framesWithin(std::move(buffer), first, decoder->m_skipFrames, end);
    }
    if (buffer && !decoder->enqueue(lock, std::move(buffer)))
        return GST_FLOW_FLUSHING;
    if (!last)
        return GST_FLOW_OK; // before the stretch, encoder silence: never heard
    // The rest of the file is not wanted: the stretch ends here, not when the file does.
    decoder->m_decoding = false;
    return GST_FLOW_EOS;
}

// Waits for room in the queue and queues the samples; false when halting.
bool GstFileDecoder::enqueue(std::unique_lock<std::mutex>& lock, GstBufferHandle buffer)
{
    m_room.wait(lock, [this] { return m_halting || m_queuedFrames < kQueuedFrames; });
    if (m_halting)
        return false;
    m_queuedFrames += framesOf(buffer);
    m_queue.push_back(std::move(buffer));
    m_hadSound = true;
    m_arrived.notify_all();
    return true;
}

// A raw CD image holds 16-bit stereo samples at 44.1 kHz, the output's rate:
// read as they are, they need no decoder, and a stretch starts at its byte.
void GstFileDecoder::readRawImage(const SoundSource& source)
{
    constexpr qint64 kBytesPerFrame = 4;
    constexpr qint64 kPieceFrames = GstOutputStream::kRate / 20;
    QFile file(source.path);
    QString error;
    // A stretch from the start is read without a seek, so that a pipe can be read too.
    if (!file.open(QIODevice::ReadOnly) || (source.firstFrame > 0 && !file.seek(source.firstFrame * kBytesPerFrame))) {
        error = file.errorString();
    } else {
        qint64 left = source.endFrame < 0 ? std::numeric_limits<qint64>::max() : source.endFrame - source.firstFrame;
        while (left > 0) {
            const QByteArray bytes = file.read(std::min(left, kPieceFrames) * kBytesPerFrame);
            if (bytes.size() < kBytesPerFrame) {
                if (file.error() != QFileDevice::NoError)
                    error = file.errorString();
                break;
            }
            const qint64 frames = bytes.size() / kBytesPerFrame;
            GstBufferHandle buffer = floatFrames(bytes, frames, source.bigEndian);
            std::unique_lock lock(m_lock);
            if (!enqueue(lock, std::move(buffer)))
                return;
            left -= frames;
        }
    }
    streamEnded(error);
}

void GstFileDecoder::streamEnded(const QString& error)
{
    const std::lock_guard lock(m_lock);
    if (!m_decoding)
        return;
    m_decoding = false;
    if (!error.isEmpty())
        m_error = error + QLatin1Char('\n') + QDir::toNativeSeparators(m_path);
    m_arrived.notify_all();
}

bool GstFileDecoder::ready() const
{
    const std::lock_guard lock(m_lock);
    return !m_queue.empty() || !m_decoding;
}

void GstFileDecoder::waitUntilReady(int timeoutMs) const
{
    std::unique_lock lock(m_lock);
    m_arrived.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                              [this] { return !m_queue.empty() || !m_decoding; });
}

GstBufferHandle GstFileDecoder::take(qint64 maxFrames)
{
    const std::lock_guard lock(m_lock);
    if (m_queue.empty())
        return nullptr;
    // Decoders give small buffers; joined, they pass the output in fewer pieces.
    // Making writable and appending take their buffers over and hand back the result.
    GstBufferHandle buffer(gst_buffer_make_writable(m_queue.front().release()));
    m_queue.pop_front();
    qint64 frames = framesOf(buffer);
    while (!m_queue.empty() && frames + framesOf(m_queue.front()) <= maxFrames) {
        frames += framesOf(m_queue.front());
        buffer.reset(gst_buffer_append(buffer.release(), m_queue.front().release()));
        m_queue.pop_front();
    }
    m_queuedFrames -= frames;
    // The decoder is woken to refill only once half the queue is gone.
    if (m_queuedFrames <= kQueuedFrames / 2)
        m_room.notify_all();
    return buffer;
}

bool GstFileDecoder::finished() const
{
    const std::lock_guard lock(m_lock);
    return m_queue.empty() && !m_decoding;
}

QString GstFileDecoder::error() const
{
    const std::lock_guard lock(m_lock);
    return m_error;
}

QString GstFileDecoder::path() const
{
    const std::lock_guard lock(m_lock);
    return m_path;
}

qint64 GstFileDecoder::framesWithoutSound() const
{
    {
        const std::lock_guard lock(m_lock);
        if (m_hadSound || m_decoding || !m_error.isEmpty())
            return 0;
    }
    // At its end the stream's position is its length.
    return qint64(m_playbin.positionSeconds() * GstOutputStream::kRate);
}
