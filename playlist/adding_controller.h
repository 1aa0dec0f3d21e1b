#pragma once

#include "playlist/event_pump.h"
#include "playlist/playlist_adder.h"

#include <QObject>
#include <QStringList>

class Failure;
class MainWindow;

// The three roads by which files enter the playlist: "&Add files", "&Load playlist"
// and files dropped on ListView1. Each runs as a long operation, refuses to start
// while another (or a recording run) is going on, and keeps what it added before a
// failure.
class AddingController : public QObject {
    Q_OBJECT
public:
    explicit AddingController(MainWindow& window);

private:
    void addFiles();
    void loadPlaylist();
    void dropFiles(const QStringList& paths);
    void letEventsRun();
    double defaultGap();
    void warn(const QString& text);
    void report(const Failure& failure);

    MainWindow& m_window;
    EventPump m_events;
    PlaylistAdder m_adder;
};
