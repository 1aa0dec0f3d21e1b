#include "app/startup.h"
#include "common/dialogs.h"
#include "common/program_directory.h"
#include "playlist/audio_cd_folder.h"
#include "discs/system_discs.h"
#include "player/cable_probe.h"
#include "player/input_listener.h"
#include "player/media_player.h"
#include "player/sample_reader.h"
#include "recording/keep_awake.h"
#include "sound_server/other_sounds.h"
#include "sound_server/sound_outputs.h"

#include <QApplication>
#include <QDir>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Trelvik"));
    QtDialogs dialogs;
    const auto mediaPlayer = makeMediaPlayer();
    SystemDiscs discs;
    const auto sampleReader = makeSampleReader();
    const auto soundOutputs = makeSoundOutputs();
    const auto soundInputs = makeSoundInputs();
    const auto cableProbe = makeCableProbe();
    const auto inputListener = makeInputListener();
    // Unmutes first what a run cut short by a crash left muted.
    const auto otherSounds = makeOtherSounds(QDir(programDirectory()).filePath(QStringLiteral("muted.dat")));
    const auto keepAwake = makeKeepAwake();
    // Files named on the command line (a file manager's "Open with") are all it reads there.
    Startup startup({dialogs, discs, *mediaPlayer, *sampleReader, *soundOutputs, *soundInputs, *cableProbe, *inputListener, *otherSounds, *keepAwake, programDirectory(),
                     dataDirectory(), AudioCdFolder::standardBase(), findVolumeControl()},
                    QApplication::arguments().mid(1));
    startup.start();
    return app.exec();
}
