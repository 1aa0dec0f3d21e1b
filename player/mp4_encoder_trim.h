#pragma once

#include "player/encoder_trim.h"

#include <QString>
#include <optional>

// AAC encoders for iTunes note their silence in an iTunSMPB comment: priming,
// end padding and the music's length, in frames of the sound track's time scale.
// The trim an MP4 file (.m4a) declares and GStreamer does not apply itself: the
// iTunSMPB comment of a file whose sound track has no edit list that starts past
// the encoder's priming (qtdemux applies such an edit list itself). Nothing for
// other files, and for comments that do not fit the track.
std::optional<EncoderTrim> mp4EncoderTrim(const QString& path);
