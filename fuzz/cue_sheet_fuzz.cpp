#include "common/failure.h"
#include "discs/cue_sheet.h"

#include <cstdlib>

// A sheet read without a Failure keeps the promises its users build on.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    try {
        const CueSheet sheet = parseCueSheet(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)));
        // A CD's 99 tracks at most, and files no more than they can use.
        if (sheet.tracks.isEmpty() || sheet.tracks.size() > 99 || sheet.files.size() > 100)
            std::abort();
        int number = 0;
        for (const CueTrack& track : sheet.tracks) {
            if (track.number <= number || track.number > 99 || track.file < 0 || track.file >= sheet.files.size()
                || track.startSector < 0 || track.sectorBytes <= 0)
                std::abort();
            number = track.number;
        }
    } catch (const Failure&) {
    }
    return 0;
}
