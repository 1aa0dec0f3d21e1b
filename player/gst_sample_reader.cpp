#include "player/sample_reader.h"

#include "common/failure.h"
#include "player/gst_file_decoder.h"
#include "player/gst_playbin.h"

#include <QFileInfo>
#include <algorithm>
#include <cmath>

namespace {

// How long a wait for samples may keep a cancel unheard.
constexpr int kCancelCheckMs = 10;

// Takes the samples of the decoder the output plays from as fast as they come.
// Its GStreamer parts are made for each call, on the thread that reads: each scan
// reads on a thread of its own, and a GStreamer that cannot make them fails that
// reading only.
class GstSampleReader : public SampleReader {
public:
    qint64 expectedFrames(const SoundSource& source) override;
    bool read(const SoundSource& source, const Take& take, const std::atomic<bool>& cancel) override;
};

qint64 GstSampleReader::expectedFrames(const SoundSource& source)
{
    if (source.kind == SoundSource::Kind::DriveTrack)
        return 0;
    if (source.endFrame >= 0)
        return std::max<qint64>(0, source.endFrame - source.firstFrame);
    qint64 frames = 0;
    if (source.kind == SoundSource::Kind::RawImage) {
        frames = QFileInfo(source.path).size() / 4; // 16-bit stereo
    } else {
        GstPlaybin measurer(QStringLiteral("fakesink"), QStringLiteral("fakesink")); // opens and waits
        try {
            measurer.open(source.path);
            const double seconds = measurer.durationSeconds();
            if (std::isfinite(seconds))
                frames = qint64(seconds * GstOutputStream::kRate);
        } catch (const Failure&) {
            // Reading it will say why it cannot be read.
        }
        measurer.halt();
    }
    return std::max<qint64>(0, frames - source.firstFrame);
}

bool GstSampleReader::read(const SoundSource& source, const Take& take, const std::atomic<bool>& cancel)
{
    GstFileDecoder decoder;
    decoder.start(source);
    for (;;) {
        if (cancel) {
            decoder.halt();
            return false;
        }
        const GstBufferHandle buffer = decoder.take(GstFileDecoder::kQueuedFrames);
        if (!buffer) {
            if (const QString error = decoder.error(); !error.isEmpty()) {
                decoder.halt();
                throw Failure(error);
            }
            if (decoder.finished())
                break;
            decoder.waitUntilReady(kCancelCheckMs);
            continue;
        }
        GstMapInfo map;
        gst_buffer_map(buffer.get(), &map, GST_MAP_READ);
        take(reinterpret_cast<const float*>(map.data), qint64(map.size) / GstOutputStream::kBytesPerFrame);
        gst_buffer_unmap(buffer.get(), &map);
    }
    decoder.halt();
    return true;
}

} // namespace

std::unique_ptr<SampleReader> makeSampleReader()
{
    return std::make_unique<GstSampleReader>();
}
