#pragma once

#include "file_headers/encoder_trim.h"

#include <QString>
#include <optional>

// MP3 encoders note the amount of their silence in the LAME extension of the first
// frame's Info (or Xing) header.
// The trim an MP3 file declares and GStreamer does not apply itself: GStreamer 1.22's
// parser trims only headers written by LAME, not by other encoders (ffmpeg's among
// them) that use the same layout. Nothing for other files, for headers that fail
// their checksum, and for headers that count fewer bytes than the file holds.
std::optional<EncoderTrim> mp3EncoderTrim(const QString& path);
