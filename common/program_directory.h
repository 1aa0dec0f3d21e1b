#pragma once

#include <QString>

// The per-user data folder, which may not exist yet.
QString dataDirectory();

// Where settings.dat, filelist.tmp and the Recording playlists live: the program's
// own folder when it can be written, else the per-user data folder (created here).
QString programDirectory();
