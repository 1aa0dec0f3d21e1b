#pragma once

#include "common/playlist_table.h"

#include <QString>
#include <vector>

// The rules a recording run follows, as plain functions.

// Seconds of the gaps of every entry but the last, each through its decimal text.
double gapTotalOf(const PlaylistTable& table);

// Timer1's interval for a gap of gapMs milliseconds: rounded half to even, at least
// 1 ms (a negative gap waits nothing), and never cut short of a long gap.
int gapInterval(double gapMs);

// A break in a track's sound, heard seconds into it.
struct SoundBreak {
    int track;
    double seconds;
};

// What the user is told after a run whose tracks broke off somewhere, a line for
// each break (those of a track within one second are one).
QString brokenTracksMessage(const std::vector<SoundBreak>& breaks);
