#pragma once

#include "file_headers/encoder_trim.h"

#include <QString>
#include <optional>

// AAC encoders for iTunes note their silence in an iTunSMPB comment: priming,
// end padding and the music's length, in frames of the sound track's time scale.
// The trim an MP4 file (.m4a) declares and GStreamer does not apply itself: the
// iTunSMPB comment of a file whose sound track has no edit list that starts past
// the encoder's priming (qtdemux applies such an edit list itself). Nothing for
// other files, and for comments whose numbers do not fit the track.
std::optional<EncoderTrim> mp4EncoderTrim(const QString& path);

// A length in an MP4 file's headers: where it lies in the file, its width and its value.
struct Mp4Length {
    qint64 offset;
    int size; // 4 or 8 bytes, big-endian
    quint64 value;
};

// A sound track whose one edit starts past the encoder's priming, as most encoders
// write it. qtdemux skips the priming, but counts the movie's length from the
// skipped start, and so ends the track up to a packet early.
struct Mp4PrimingEdit {
    Mp4Length movieDuration; // the movie header's, in movieTimeScale
    Mp4Length editDuration; // the edit's, in movieTimeScale
    quint32 movieTimeScale;
    qint64 primingFrames; // the frames the edit skips
    qint64 musicFrames;
    int rate; // of the frames: the track's time scale
};

// Nothing for files without such an edit, and for edits that do not fit the track.
std::optional<Mp4PrimingEdit> mp4PrimingEdit(const QString& path);
