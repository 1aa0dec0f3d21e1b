#pragma once

#include "discs/sound_source.h"
#include "player/gst_playbin.h"

// How many frames a source will give, as far as its file's size or headers
// say without reading it through; 0 when that is unknown. The measurer is a
// playbin without an end handler, kept for many sources.
qint64 expectedFrames(const SoundSource& source, GstPlaybin& measurer);
