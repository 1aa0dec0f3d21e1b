#pragma once

#include <QString>

class MediaPlayer;

// Length in seconds of a media file. Read from the file's headers where the type
// allows it, which takes a fraction of the time of opening the file in the player;
// otherwise (other types, no length in the headers, or headers not found within
// the first reads) the player opens the file and reports its duration, and a file
// the player cannot open throws its Failure.
double mediaDuration(MediaPlayer& player, const QString& path);
