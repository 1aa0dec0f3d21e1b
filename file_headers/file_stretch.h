#pragma once

#include "file_headers/byte_patch.h"

#include <QString>
#include <vector>

// What the decoder keeps of a file: its decoded frames from skipFrames to endFrame
// (-1: to the end), and the bytes GStreamer reads in place of the file's own.
struct FileStretch {
    qint64 skipFrames = 0;
    qint64 endFrame = -1;
    std::vector<BytePatch> patches;
};

// The stretch that holds frames [firstFrame, endFrame) of a file's music (endFrame -1:
// to its end), without the encoder silence the file declares and GStreamer keeps.
// Frames count at rate, the rate the file is decoded to.
FileStretch fileStretch(const QString& path, qint64 firstFrame, qint64 endFrame, int rate);
