#include "recorder/expected_length.h"

#include "common/failure.h"
#include "player/gst_output_stream.h"

#include <QFileInfo>
#include <algorithm>
#include <cmath>

qint64 expectedFrames(const SoundSource& source, GstPlaybin& measurer)
{
    if (source.kind == SoundSource::Kind::DriveTrack)
        return 0;
    if (source.endFrame >= 0)
        return std::max<qint64>(0, source.endFrame - source.firstFrame);
    qint64 frames = 0;
    if (source.kind == SoundSource::Kind::RawImage) {
        frames = QFileInfo(source.path).size() / 4; // 16-bit stereo
    } else {
        try {
            measurer.open(source.path);
            const double seconds = measurer.durationSeconds();
            if (std::isfinite(seconds))
                frames = qint64(seconds * GstOutputStream::kRate);
        } catch (const Failure&) {
            // Its scan will say why it cannot be read.
        }
        measurer.halt();
    }
    return std::max<qint64>(0, frames - source.firstFrame);
}
