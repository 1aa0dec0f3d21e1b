#pragma once

#include <QString>
#include <optional>

// A playlist entry that is a CD track: "<disc>/TrackNN.cda", where the disc is the
// folder in which the drive's tracks are shown ("/run/user/1000/trelvik/Audio CD",
// "D:") or a CUE sheet ("/rips/album.cue"). The track number comes from the file
// name alone, never from the folders above it.
struct CdEntry {
    QString disc;
    int track = 0; // 1 to 99

    bool operator==(const CdEntry&) const = default;
};

// Whether an entry of the list is played from a CD: its path ends in ".cda" in any
// case. Adding a new path is stricter (only the lower-case ending names a CD track).
bool isCdEntry(const QString& path);

// Whether a path (a disc, or a file being added) is a CUE sheet: it ends in ".cue",
// in any case.
bool isCueSheet(const QString& path);

// The CD entry a path names: its disc is the path up to the last "/" or "\", its
// track the number behind the first "track" (in any case) of the file name, read by
// the leading-number rule up to ".cda" and rounded. Nothing for a path that is no CD
// entry (a media file), whose file name holds no "track", or whose number is not one
// of a CD's 1 to 99.
std::optional<CdEntry> cdEntryOf(const QString& path);

// cdEntryOf, or a Failure naming the path when it names no CD track.
CdEntry readCdEntry(const QString& path);

// The file name that stands for a track of a disc: "Track05.cda".
QString cdTrackFileName(int track);
