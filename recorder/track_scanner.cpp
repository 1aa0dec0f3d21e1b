#include "recorder/track_scanner.h"

#include "common/failure.h"

namespace {
// How long a wait for samples may keep a cancel unheard.
constexpr int kCancelCheckMs = 10;
} // namespace

std::optional<LevelEnvelope> TrackScanner::scan(const SoundSource& source, const std::atomic<bool>& cancel,
                                                const Progress& progress)
{
    m_decoder.start(source);
    LevelEnvelope envelope;
    for (;;) {
        if (cancel) {
            m_decoder.halt();
            return std::nullopt;
        }
        const GstBufferHandle buffer = m_decoder.take(GstFileDecoder::kQueuedFrames);
        if (!buffer) {
            if (const QString error = m_decoder.error(); !error.isEmpty()) {
                m_decoder.halt();
                throw Failure(error);
            }
            if (m_decoder.finished())
                break;
            m_decoder.waitUntilReady(kCancelCheckMs);
            continue;
        }
        GstMapInfo map;
        gst_buffer_map(buffer.get(), &map, GST_MAP_READ);
        appendSamples(envelope, reinterpret_cast<const float*>(map.data),
                      qint64(map.size) / GstOutputStream::kBytesPerFrame);
        gst_buffer_unmap(buffer.get(), &map);
        if (progress)
            progress(envelope.frames);
    }
    m_decoder.halt();
    return envelope;
}
