#pragma once

#include <QString>
#include <QtGlobal>

// Where a piece of sound is read: a media file or a stretch of one (a track of a
// single-file album rip), a stretch of a raw CD image, or a track of the disc in a drive.
struct SoundSource {
    enum class Kind { File, RawImage, DriveTrack };
    Kind kind = Kind::File;
    QString path; // the file, the image file, or the drive's device
    int track = 0; // DriveTrack: the track's number on the disc
    // The stretch, in frames at 44.1 kHz from the start of the file's sound (of the
    // track's, for a DriveTrack); an end of -1 is the file's (the track's) end.
    qint64 firstFrame = 0;
    qint64 endFrame = -1;
    bool bigEndian = false; // RawImage: 16-bit samples stored most significant byte first

    bool operator==(const SoundSource&) const = default;
};
