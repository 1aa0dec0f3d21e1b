#include "player/cd_device.h"

#include "common/failure.h"
#include "player/cdio_drive.h"
#include "player/cue_disc.h"
#include "player/disc_cd_device.h"

#include <QFileInfo>

namespace {

// A CUE sheet is a disc of its own; any other folder of CD entries means the disc in the drive.
std::optional<Disc> discOfFolder(const QString& folder)
{
    const QFileInfo file(folder);
    if (file.isFile() && file.fileName().endsWith(QLatin1String(".cue"), Qt::CaseInsensitive)) {
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
