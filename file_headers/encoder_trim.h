#pragma once

#include <QtGlobal>

// Lossy encoders put silence before and after the music; some files say how much.
struct EncoderTrim {
    // Fewer than 2^43 of each, whatever the file says, so that they convert to
    // other rates within 64 bits.
    qint64 skipFrames; // decoded frames before the music
    qint64 musicFrames;
    int rate; // of the file's frames: 8 kHz to 384 kHz
};
