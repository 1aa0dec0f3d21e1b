#include "fuzz/temporary_file.h"
#include "gain_tags/gain_tags.h"

#include <cmath>
#include <cstdlib>

namespace {

void checkGain(const std::optional<double>& gain)
{
    if (gain && !(std::abs(*gain) <= 60))
        std::abort();
}

void checkPeak(const std::optional<double>& peak)
{
    if (peak && !(*peak > 0 && *peak <= 10))
        std::abort();
}

} // namespace

// The same bytes read as each type whose tags carry gains: whatever they hold, the
// figures read stay within reason.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const QTemporaryDir dir;
    for (const char* name : {"song.flac", "song.mp3", "song.m4a", "song.opus", "song.ape", "song.wv"}) {
        const GainTags tags = readGainTags(writeInput(dir, QLatin1String(name), data, size));
        checkGain(tags.trackGain);
        checkGain(tags.albumGain);
        checkPeak(tags.trackPeak);
        checkPeak(tags.albumPeak);
    }
    return 0;
}
