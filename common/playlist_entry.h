#pragma once

#include <QString>

// One playlist row.
struct PlaylistEntry {
    QString path;   // full path of the media file or CD track file, as added
    QString length; // whole seconds as plain decimal text ("215")
    double gap = 0; // silence after the entry, in milliseconds
};
