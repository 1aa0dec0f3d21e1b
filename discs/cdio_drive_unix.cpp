#include "discs/cdio_drive.h"

#include <cdio/cdio.h>
#include <cdio/logging.h>
#include <memory>

namespace {

// libcdio would write its complaints about empty drives and unreadable images to stderr.
void ignoreLibcdioMessage(cdio_log_level_t, const char[]) { }

struct CdioCloser {
    void operator()(CdIo_t* cdio) const { cdio_destroy(cdio); }
};
using CdioHandle = std::unique_ptr<CdIo_t, CdioCloser>;

std::optional<Disc> discIn(const char* device)
{
    const CdioHandle cdio(cdio_open(device, DRIVER_UNKNOWN));
    if (!cdio)
        return std::nullopt;
    const track_t first = cdio_get_first_track_num(cdio.get());
    const track_t last = cdio_get_last_track_num(cdio.get());
    if (first == CDIO_INVALID_TRACK || last == CDIO_INVALID_TRACK || last < first)
        return std::nullopt;
    const QString name = QString::fromLocal8Bit(device);

    Disc disc;
    // Track n is always tracks[n - 1], even on a disc whose numbers begin later.
    for (int missing = 1; missing < first; ++missing)
        disc.tracks.append({ false, 0, {} });
    bool anyAudio = false;
    for (int number = first; number <= last; ++number) {
        DiscTrack track;
        track.audio = cdio_get_track_format(cdio.get(), track_t(number)) == TRACK_FORMAT_AUDIO;
        track.sectors = cdio_get_track_sec_count(cdio.get(), track_t(number));
        track.sound = { SoundSource::Kind::DriveTrack, name, number };
        anyAudio = anyAudio || track.audio;
        disc.tracks.append(track);
    }
    if (!anyAudio)
        return std::nullopt;
    return disc;
}

} // namespace

std::optional<Disc> readDriveDisc(const QString& device)
{
    cdio_log_set_handler(ignoreLibcdioMessage);
    if (!device.isEmpty())
        return discIn(device.toLocal8Bit().constData());
    char** drives = cdio_get_devices(DRIVER_DEVICE);
    std::optional<Disc> disc;
    for (char** drive = drives; drive && *drive && !disc; ++drive)
        disc = discIn(*drive);
    cdio_free_device_list(drives);
    return disc;
}
