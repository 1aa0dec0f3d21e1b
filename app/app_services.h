#pragma once

#include "help_windows/volume_control.h"

#include <QString>

class CdDevice;
class Dialogs;

// What the main window is given from outside: the real things in the program,
// fakes and temporary folders in tests.
struct AppServices {
    Dialogs& dialogs;
    CdDevice& cdDevice;
    QString programDirectory; // settings.dat, filelist.tmp and the Recording playlists
    VolumeControl volumeControl;
};
