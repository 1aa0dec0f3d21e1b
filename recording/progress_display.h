#pragma once

#include <QString>
#include <functional>

// What the "Recording status" frame shows while an entry plays.

// How a countdown is made whole: a CD position counts halves to even, a media
// position has its fraction cut off.
enum class CountdownRounding { HalfToEven, TowardZero };

struct RunFigures {
    double trackLength = 0;    // L, seconds of the entry playing
    double completedTime = 0;  // C, seconds of the entries already finished
    double gapTotal = 0;       // G, seconds of every gap but the last
    double playlistTotal = 0;  // T, lengths plus every gap but the last
};

struct ProgressDisplay {
    float trackPercent = 0;
    float totalPercent = 0;
    QString trackCaption; // "Left of track (03:25) :"
    QString totalCaption; // "Left of total (41:07) :"
};

// The display for one tick. position is asked anew for every figure, as a playing
// drive or player moves on between questions. A length or total of 0 shows a full
// bar, and a countdown below zero shows 00:00.
ProgressDisplay progressDisplay(const std::function<double()>& position, const RunFigures& run,
                                CountdownRounding rounding);

// Percent of part in whole, 0 to 100.
float percentOf(double part, double whole);

// Whole seconds left, as the countdown captions show them.
qint64 countdownSeconds(double seconds, CountdownRounding rounding);
