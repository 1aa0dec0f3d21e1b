#pragma once

#include <QString>
#include <functional>

// A title for an entry from elsewhere (a CUE sheet's, a CD's own text, a web service's);
// empty when it knows none.
using TitleLookup = std::function<QString(const QString& path)>;

// The album of a CD entry's disc from elsewhere, in the same way.
using AlbumLookup = TitleLookup;
