#pragma once

#include <QString>

// One playlist row.
struct PlaylistEntry {
    QString path;      // full path of the media file or CD track file, as added
    qint64 length = 0; // whole seconds, never negative
    double gap = 0;    // silence after the entry, in milliseconds
};
