#pragma once

#include <QString>
#include <functional>

class Discs;
class MediaPlayer;
class Playlist;

// Adds one file at a time to the end of the playlist: measures it (a media file by
// its headers or the player, a CD track by its disc's table) and appends it with the
// default gap. An entry that is not added leaves the playlist as it was.
class PlaylistAdder {
public:
    struct Services {
        Playlist& playlist;
        Discs& discs;
        MediaPlayer& player;
        std::function<double()> defaultGap; // seconds, the default-gap rule applied
        std::function<void()> letEventsRun;
        std::function<void(const QString&)> warn; // a failure that does not end the operation
    };

    explicit PlaylistAdder(Services services);

    // A name chosen in the open dialog, relative to the current directory. A
    // playlist file is not added itself; its paths go to addPlaylistEntry.
    void addChosenFile(const QString& name);

    // A path read from a playlist file, kept as it stands. A media file the player
    // cannot open, or a CD entry that names no track, is reported through warn and
    // skipped.
    void addPlaylistEntry(const QString& path);

    // A dropped media or CD track file, or CUE sheet, by full path.
    void addDroppedFile(const QString& path);

    // Reads a playlist file and hands each of its paths to addPlaylistEntry, letting
    // events run after each.
    void addPlaylist(const QString& path);

private:
    enum class Handling { CdTrack, Media, Playlist, CueSheet, Nothing };
    enum class OnFailure { EndsOperation, Skipped };

    static Handling handlingOfPath(const QString& path);
    void add(const QString& path, Handling handling, OnFailure onFailure);
    void addCdTrack(const QString& path, double gap);
    void addCueSheet(const QString& path, double gap);
    void addMedia(const QString& path, double gap);
    void append(const QString& path, qint64 seconds, double gap);

    Services m_services;
};
