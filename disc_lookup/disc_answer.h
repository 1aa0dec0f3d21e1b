#pragma once

#include "disc_lookup/looked_up_disc.h"

#include <QByteArray>

// The disc in MusicBrainz's JSON answer to a disc ID lookup: of the releases that carry
// the disc, the first whose medium has as many tracks as the disc, else the first
// release. Throws a Failure when the answer is no such JSON.
LookedUpDisc discOfAnswer(const QByteArray& json, const QString& discId, int trackCount);
