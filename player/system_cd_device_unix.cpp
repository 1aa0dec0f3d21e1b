#include "player/cd_device.h"

#include "common/failure.h"
#include "discs/cd_entry.h"
#include "discs/cdio_drive.h"
#include "discs/cue_disc.h"
#include "player/disc_cd_device.h"

namespace {

// A CUE sheet is a disc of its own, even when it is no file to read; any other folder
// of CD entries means the disc in the drive.
std::optional<Disc> discOfFolder(const QString& folder)
{
    if (isCueSheet(folder)) {
        // A sheet that cannot be used is a missing disc here; adding it said why.
        try {
            return discOfCueSheet(folder);
        } catch (const Failure&) {
            return std::nullopt;
        }
    }
    return readDriveDisc(QString());
}

} // namespace

std::unique_ptr<CdDevice> makeSystemCdDevice(MediaPlayer& player)
{
    return std::make_unique<DiscCdDevice>(discOfFolder, player);
}
