#pragma once

#include "gain_tags/gain_tags.h"

namespace TagLib::ID3v2 {
class Tag;
}

// Fills in the figures still missing from an ID3v2 tag's RVA2 frames: the one named
// "track" or "album", and of it the master volume only.
void addRelativeVolumes(GainTags& tags, const TagLib::ID3v2::Tag& tag);
