#pragma once

#include "discs/disc.h"

#include <QString>
#include <optional>

// The table of contents of the audio disc in a CD drive, read with libcdio. An empty
// device is the first drive that holds a disc with audio on it; a named one may also be
// a BIN/CUE or other disc image. Nothing when there is no such drive, no disc in it, or
// no audio track on the disc. Returns quickly on an empty drive.
std::optional<Disc> readDriveDisc(const QString& device);
