#include "app/startup.h"
#include "common/dialogs.h"
#include "common/program_directory.h"
#include "player/cd_device.h"
#include "player/media_player.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Trelvik"));
    QtDialogs dialogs;
    const auto cdDevice = makeSystemCdDevice();
    const auto mediaPlayer = makeMediaPlayer();
    Startup startup({dialogs, *cdDevice, *mediaPlayer, programDirectory(), findVolumeControl()});
    startup.start();
    return app.exec();
}
