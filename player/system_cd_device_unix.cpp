#include "player/cd_device.h"

#include "player/cdio_drive.h"
#include "player/disc_cd_device.h"

#include <QFileInfo>

namespace {

// A CUE sheet is a disc of its own; any other folder of CD entries means the disc in the drive.
std::optional<Disc> discOfFolder(const QString& folder)
{
    const QFileInfo file(folder);
    if (file.isFile() && file.fileName().endsWith(QLatin1String(".cue"), Qt::CaseInsensitive))
        return std::nullopt; // to be read by discOfCueSheet(folder), player/cue_disc.h
    return readDriveDisc(QString());
}

} // namespace

std::unique_ptr<CdDevice> makeSystemCdDevice(MediaPlayer& player)
{
    return std::make_unique<DiscCdDevice>(discOfFolder, player);
}
