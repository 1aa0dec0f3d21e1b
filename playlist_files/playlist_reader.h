#pragma once

#include <QString>
#include <functional>

// Reads an M3U or PLS playlist, chosen by the file's last four characters in any
// case (".m3u", ".pls"; any other name reads nothing), and hands each path to
// onPath as soon as it is read. Throws a Failure when the file cannot be read; a
// Failure thrown by onPath ends the reading and passes on.
//
// M3U: every line that is neither blank nor starts with "#" is a path. PLS: a line
// whose key (the text before the first "=", leading blanks skipped) begins with
// "File" gives the text after that "="; other lines are skipped. Paths are handed
// on as they stand, except that blank ones are skipped, a file:// address is
// turned into its local path, and a relative path is made full from the playlist's
// folder, with "\" taken as a folder separator. Windows paths with a drive
// ("C:\Music\x.mp3") and other addresses are handed on unchanged.
void readPlaylist(const QString& path, const std::function<void(const QString&)>& onPath);
