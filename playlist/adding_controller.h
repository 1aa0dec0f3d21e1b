#pragma once

#include "playlist/event_pump.h"
#include "playlist/playlist_adder.h"

#include <QObject>
#include <QStringList>

class AudioCdFolder;
class BusyState;
class Dialogs;
class Failure;
class FlatButton;
class Playlist;
class QLineEdit;
class QWidget;

// The three roads by which files enter the playlist: "&Add files", "&Load playlist"
// and files dropped on the list. Each runs as a long operation, refuses to start
// while another (or a recording run) is going on, and keeps what it added before a
// failure.
class AddingController : public QObject {
    Q_OBJECT
public:
    struct Controls {
        FlatButton* addFiles;
        FlatButton* loadPlaylist;
        QWidget* dropTarget;
        QLineEdit* defaultGapEdit;
        QWidget* dialogParent;
    };
    struct Services {
        Playlist& playlist;
        BusyState& busy;
        Dialogs& dialogs;
        Discs& discs;
        MediaPlayer& player;
        QString programDirectory; // where "&Add files" writes filelist.tmp
        AudioCdFolder& audioCd; // offered in the "&Add files" dialog, refreshed as it opens
    };

    AddingController(const Controls& controls, const Services& services, QObject* parent);

    // Puts files on the list as a drop of them does: playlists are loaded, media
    // files and CD tracks added, anything else passed over. Files opened with the
    // program come this way too.
    void dropFiles(const QStringList& paths);

private:
    void addFiles();
    void loadPlaylist();
    void letEventsRun();
    void warn(const QString& text);
    void report(const Failure& failure);

    Controls m_controls;
    Services m_services;
    EventPump m_events;
    PlaylistAdder m_adder;
};
