#pragma once

#include <QObject>
#include <QString>

class MainWindow;

// The "&Save playlist" button: asks for a file name and writes the playlist there
// as M3U or PLS. Cancelling ends silently; a failure is shown and changes nothing.
// Entries the file could not hold are named in a warning after the save.
class SavePlaylistCommand : public QObject {
    Q_OBJECT
public:
    explicit SavePlaylistCommand(MainWindow& window);

private:
    void save();

    MainWindow& m_window;
    QString m_lastFilter; // the dialog reopens with the filter chosen last time
};
