#pragma once

#include <QString>
#include <functional>

class CDAudio;
class MediaPlayer;
class PlaylistModel;
class PlaylistTable;

// Adds one file at a time to the end of the playlist: measures it (a media file by
// its headers or the player, a CD track by the CD device), stores it with the default
// gap and shows its row. An entry that is not added leaves the table and the rows as
// they were. None of these recomputes the total; their callers do.
class PlaylistAdder {
public:
    struct Services {
        PlaylistTable& table;
        PlaylistModel& model;
        CDAudio& cd;
        MediaPlayer& player;
        std::function<double()> defaultGap; // seconds, the default-gap rule applied
        std::function<void()> letEventsRun;
        std::function<void(const QString&)> warn; // a failure that does not end the operation
    };

    explicit PlaylistAdder(Services services);

    // läggtillpålista: a name chosen in the open dialog, relative to the current
    // directory. A playlist file is not added itself; its paths go to laddalista.
    void läggtillpålista(const QString& name);

    // laddalista: a path read from a playlist file, kept as it stands. A media file
    // the player cannot open is reported through warn and skipped.
    void laddalista(const QString& path);

    // läggtillpålista_dd: a dropped media or CD track file, by full path.
    void läggtillpålista_dd(const QString& path);

    // Reads a playlist file and hands each of its paths to laddalista, letting events
    // run after each.
    void addPlaylist(const QString& path);

private:
    enum class Handling { CdTrack, Media, Playlist, Nothing };
    enum class PlayerFailure { EndsOperation, Skipped };

    void add(const QString& path, const QString& fileName, Handling handling, PlayerFailure onFailure);
    bool addCdTrack(int slot, const QString& path, const QString& fileName, double gap);
    void addMedia(int slot, const QString& path, double gap);
    void show(int slot, const QString& path, qint64 seconds, double gap);

    Services m_services;
};
