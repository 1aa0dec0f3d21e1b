#pragma once

#include "discs/disc.h"

#include <QString>

// The disc's MusicBrainz disc ID, from its table of contents as a drive reads it: 28
// characters of base64 (with ".", "_" and "-" for "+", "/" and "="). An enhanced CD's
// data track at the end is left out, as its audio session ends before it. Empty for a
// disc without audio tracks or without a lead-out.
QString musicBrainzDiscId(const Disc& disc);
