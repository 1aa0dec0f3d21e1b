#include "player/gst_file_decoder.h"

#include "player/mp3_encoder_trim.h"
#include "player/mp4_encoder_trim.h"

#include <QDir>
#include <algorithm>
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

void GstFileDecoder::start(const QString& path)
{
    halt();
    std::optional<EncoderTrim> trim = mp3EncoderTrim(path);
    if (!trim)
        trim = mp4EncoderTrim(path);
    {
        const std::lock_guard lock(m_lock);
        m_decoding = true;
        m_path = path;
        m_decodedFrames = 0;
        m_skipFrames = trim ? trim->skipFrames * GstOutputStream::kRate / trim->rate : 0;
        m_musicFrames = trim ? trim->musicFrames * GstOutputStream::kRate / trim->rate : -1;
    }
    m_playbin.start(path);
}

void GstFileDecoder::halt()
{
    {
        const std::lock_guard lock(m_lock);
        m_halting = true;
    }
    m_room.notify_all(); // a decoder thread waiting for room gives up
    m_playbin.halt();
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
    if (decoder->m_musicFrames >= 0) {
        const qint64 first = decoder->m_decodedFrames;
        decoder->m_decodedFrames += framesOf(buffer);
        buffer = framesWithin(std::move(buffer), first, decoder->m_skipFrames,
                              decoder->m_skipFrames + decoder->m_musicFrames);
        if (!buffer)
            return GST_FLOW_OK; // encoder silence, never heard
    }
    decoder->m_room.wait(lock, [decoder] { return decoder->m_halting || decoder->m_queuedFrames < kQueuedFrames; });
    if (decoder->m_halting)
        return GST_FLOW_FLUSHING;
    decoder->m_queuedFrames += framesOf(buffer);
    decoder->m_queue.push_back(std::move(buffer));
    decoder->m_hadSound = true;
    return GST_FLOW_OK;
}

void GstFileDecoder::streamEnded(const QString& error)
{
    const std::lock_guard lock(m_lock);
    if (!m_decoding)
        return;
    m_decoding = false;
    if (!error.isEmpty())
        m_error = error + QLatin1Char('\n') + QDir::toNativeSeparators(m_path);
}

bool GstFileDecoder::ready() const
{
    const std::lock_guard lock(m_lock);
    return !m_queue.empty() || !m_decoding;
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
