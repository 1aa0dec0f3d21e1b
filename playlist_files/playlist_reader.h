#pragma once

#include <QString>
#include <functional>

// Reads an M3U or PLS playlist, chosen by the file's last four characters in any
// case (".m3u", ".pls"; any other name reads nothing), and hands each path to
// onPath as soon as it is read. Throws a Failure when the file cannot be read; a
// Failure thrown by onPath ends the reading and passes on.
void readPlaylist(const QString& path, const std::function<void(const QString&)>& onPath);
