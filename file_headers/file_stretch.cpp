#include "file_headers/file_stretch.h"

#include "file_headers/mp3_encoder_trim.h"
#include "file_headers/mp4_encoder_trim.h"

#include <algorithm>
#include <limits>
#include <utility>

namespace {

QByteArray bigEndianBytes(quint64 value, int size)
{
    QByteArray bytes(size, Qt::Uninitialized);
    for (int i = size - 1; i >= 0; --i, value >>= 8)
        bytes[i] = char(value & 0xff);
    return bytes;
}

// GStreamer 1.22's qtdemux skips the priming the edit names, but ends the track by
// the movie's and the edit's lengths counted from the skipped start: up to a packet
// of music early. It reads them lengthened to hold the priming and the whole music;
// what more they let through is trimmed off. None when a length outgrows its field.
std::vector<BytePatch> lengthenedEdit(const Mp4PrimingEdit& edit)
{
    const auto ticks = [&](qint64 frames) {
        return (quint64(frames) * edit.movieTimeScale + quint64(edit.rate) - 1) / quint64(edit.rate);
    };
    const quint64 movie = std::max(edit.movieDuration.value + ticks(edit.primingFrames),
                                   ticks(edit.primingFrames + edit.musicFrames));
    const quint64 edited = std::max(edit.editDuration.value, ticks(edit.musicFrames));
    std::vector<BytePatch> patches;
    for (const auto& [length, value] : { std::pair{edit.movieDuration, movie}, std::pair{edit.editDuration, edited} }) {
        if (length.size == 4 && value > std::numeric_limits<quint32>::max())
            return {};
        patches.push_back({length.offset, bigEndianBytes(value, length.size)});
    }
    return patches;
}

} // namespace

// The readers hand over fewer than 2^43 frames, at rates of 8 kHz and more: at any
// output rate below 2^20 these products stay within 64 bits.
FileStretch fileStretch(const QString& path, qint64 firstFrame, qint64 endFrame, int rate)
{
    std::optional<EncoderTrim> trim = mp3EncoderTrim(path);
    if (!trim)
        trim = mp4EncoderTrim(path);
    if (trim) {
        const qint64 skip = trim->skipFrames * rate / trim->rate;
        const qint64 music = trim->musicFrames * rate / trim->rate;
        return {firstFrame + skip, skip + (endFrame < 0 ? music : std::min(endFrame, music)), {}};
    }
    if (const std::optional<Mp4PrimingEdit> edit = mp4PrimingEdit(path)) {
        std::vector<BytePatch> patches = lengthenedEdit(*edit);
        if (!patches.empty()) {
            const qint64 music = edit->musicFrames * rate / edit->rate;
            return {firstFrame, endFrame < 0 ? music : std::min(endFrame, music), std::move(patches)};
        }
    }
    return {firstFrame, endFrame, {}};
}
