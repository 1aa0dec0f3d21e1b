#pragma once

#include <QString>

// Where settings.dat, filelist.tmp and the Recording playlists live: the program's
// own folder when it can be written, else the per-user data folder (created here).
QString programDirectory();
