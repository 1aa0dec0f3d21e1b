#pragma once

#include "common/playlist_table.h"

#include <QObject>
#include <QString>

class Dialogs;
class FlatButton;
class QWidget;

// The "&Save playlist" button: asks for a file name and writes the playlist there
// as M3U or PLS. Cancelling ends silently; a failure is shown and changes nothing.
// Entries the file could not hold are named in a warning after the save.
class SavePlaylistCommand : public QObject {
    Q_OBJECT
public:
    SavePlaylistCommand(FlatButton* button, const PlaylistTable& table, Dialogs& dialogs, QWidget* dialogParent);

private:
    void save();

    const PlaylistTable& m_table;
    Dialogs& m_dialogs;
    QWidget* m_dialogParent;
    QString m_lastFilter; // the dialog reopens with the filter chosen last time
};
