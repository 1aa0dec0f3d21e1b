#pragma once

#include "disc_lookup/looked_up_disc.h"

#include <QByteArray>
#include <QHash>

// The discs looked up before, by disc ID, so that none is asked about twice: a UTF-8
// text file, a line a disc with its ID, album and titles apart by tabs.
inline const QString kDiscTitleCacheFileName = QStringLiteral("disctitles.dat");

using DiscTitleCache = QHash<QString, LookedUpDisc>;

// The file's discs; a line that is no disc is left out, and a file that is not the
// cache (or is larger than any cache grows) holds none.
DiscTitleCache parseDiscTitleCache(const QByteArray& bytes);
QByteArray discTitleCacheBytes(const DiscTitleCache& cache);

// The cache at path; empty when there is none or it cannot be read.
DiscTitleCache readDiscTitleCache(const QString& path);
// Writes the whole cache anew (see writeWholeFile). Throws a Failure.
void writeDiscTitleCache(const QString& path, const DiscTitleCache& cache);
