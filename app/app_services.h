#pragma once

#include "common/addresses.h"
#include "help_windows/volume_control.h"

#include <QString>

class Dialogs;
class CableProbe;
class Discs;
class InputListener;
class KeepAwake;
class MediaPlayer;
class OtherSounds;
class SampleReader;
class SoundOutputs;

// What the main window is given from outside: the real things in the program,
// fakes and temporary folders in tests.
struct AppServices {
    Dialogs& dialogs;
    Discs& discs;             // CD entries' discs: CUE sheets and the drive's
    MediaPlayer& mediaPlayer; // MediaPlayer1
    SampleReader& sampleReader; // the scan's
    SoundOutputs& soundOutputs; // what the sound server offers to play to
    SoundOutputs& soundInputs;  // and to listen on
    CableProbe& cableProbe;     // plays to the output and listens back, to check the cable
    InputListener& inputListener; // hears what the recorder received during a run
    OtherSounds& otherSounds;   // other programs' streams, kept off a recording
    KeepAwake& keepAwake;       // the computer kept from sleeping during a run
    QString programDirectory; // settings.dat, filelist.tmp and the Recording playlists
    QString dataDirectory;    // the scan cache; made when it is first written
    QString audioCdBase;      // holds the "Audio CD" folder of the disc in the drive
    VolumeControl volumeControl;
    QString discLookupAddress = QString::fromLatin1(kMusicBrainzAddress); // names discs without CD-Text
};
