#pragma once

#include <QString>
#include <optional>

// MP3 encoders put silence before and after the music and note its amount in the
// LAME extension of the first frame's Info (or Xing) header.
struct EncoderTrim {
    qint64 skipFrames; // decoded frames before the music
    qint64 musicFrames;
    int rate; // of the file's frames
};

// The trim an MP3 file declares and GStreamer does not apply itself: GStreamer 1.22's
// parser trims only headers written by LAME, not by other encoders (ffmpeg's among
// them) that use the same layout. Nothing for other files, and for headers that fail
// their checksum.
std::optional<EncoderTrim> mp3EncoderTrim(const QString& path);
