#pragma once

#include <QtGlobal>

// Lossy encoders put silence before and after the music; some files say how much.
struct EncoderTrim {
    qint64 skipFrames; // decoded frames before the music
    qint64 musicFrames;
    int rate; // of the file's frames
};
