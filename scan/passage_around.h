#pragma once

#include "discs/sound_source.h"
#include "scan/level_envelope.h"

// The stretch of a source around a moment of it, to be played on its own:
// lengthSeconds with the moment in the middle, moved to fit inside the source
// (all of it when it is shorter). A source that is a stretch already gives a
// stretch within it.
SoundSource passageAround(const SoundSource& source, const LevelEnvelope& envelope, double atSeconds,
                          double lengthSeconds = 10);
