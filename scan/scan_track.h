#pragma once

#include "discs/sound_source.h"

#include <QString>

// One entry of the list to be recorded, as the scan sees it.
struct ScanTrack {
    QString name; // its title, or its file's name
    SoundSource source;
    double gapSeconds = 0; // the silence after it
    bool last = false; // no track follows: its gap splits nothing

    bool operator==(const ScanTrack&) const = default;
};
