#include "gain_tags/relative_volume.h"

#include "gain_tags/gain_values.h"

#include <cmath>
#include <taglib/id3v2frame.h>
#include <taglib/id3v2tag.h>

namespace {

struct MasterVolume {
    QString identification;
    std::optional<double> gain;
    std::optional<double> peak;
};

// Read from the frame's bytes: TagLib keeps each channel's type as an enumeration that a
// damaged frame fills with values it does not have. After the identification and its
// zero byte come the channels: the type (1 for the master volume), the gain in 1/512 dB,
// the number of bits of the peak and the peak, a whole number with full scale at half
// its range as with signed samples.
std::optional<MasterVolume> masterVolume(const TagLib::ID3v2::Frame& frame)
{
    const TagLib::ByteVector bytes = frame.render();
    const auto byte = [&](int at) { return static_cast<unsigned char>(bytes[at]); };
    const int start = 10; // the frame header, ten bytes in the versions that have RVA2
    const int end = bytes.find(TagLib::ByteVector(1, '\0'), start);
    if (end < 0)
        return std::nullopt;
    for (int at = end + 1; at + 4 <= int(bytes.size());) {
        const int peakBits = byte(at + 3);
        const int peakEnd = at + 4 + (peakBits + 7) / 8;
        if (peakEnd > int(bytes.size()))
            break;
        if (byte(at) == 1) {
            double peak = 0;
            for (int index = at + 4; index < peakEnd; ++index)
                peak = peak * 256 + byte(index);
            const auto gain = static_cast<qint16>(byte(at + 1) << 8 | byte(at + 2));
            return MasterVolume{QString::fromLatin1(bytes.data() + start, end - start),
                                soundGain(gain / 512.0),
                                peakBits > 0 ? soundPeak(std::ldexp(peak, 1 - peakBits)) : std::nullopt};
        }
        at = peakEnd;
    }
    return std::nullopt;
}

} // namespace

void addRelativeVolumes(GainTags& tags, const TagLib::ID3v2::Tag& tag)
{
    for (const TagLib::ID3v2::Frame* frame : tag.frameList("RVA2")) {
        const std::optional<MasterVolume> volume = masterVolume(*frame);
        if (!volume)
            continue;
        const QString identification = volume->identification.toLower();
        if (identification != u"track" && identification != u"album")
            continue;
        const bool album = identification == u"album";
        std::optional<double>& gain = album ? tags.albumGain : tags.trackGain;
        std::optional<double>& peak = album ? tags.albumPeak : tags.trackPeak;
        if (!gain)
            gain = volume->gain;
        if (!peak)
            peak = volume->peak;
    }
}
