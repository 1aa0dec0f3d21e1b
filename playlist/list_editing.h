#pragma once

#include <QObject>

class BasicRandom;
class BusyState;
class Dialogs;
class FlatButton;
class Playlist;
class QKeyEvent;
class QMenu;
class QMouseEvent;
class QTreeView;
class QWidget;
class UpDownControl;

// The edits of the playlist in the main window: remove, clear, shuffle, move up and
// down, change gap, the list's keys and its popup menu. None acts during a
// recording run, and removal and clearing also wait while another operation is
// busy with the list.
class ListEditing : public QObject {
    Q_OBJECT
public:
    struct Controls {
        QTreeView* list; // showing the playlist's model
        UpDownControl* upDown;
        FlatButton* clearList;
        FlatButton* shuffle;
        QWidget* dialogParent;
    };
    struct Services {
        Playlist& playlist;
        BusyState& busy;
        Dialogs& dialogs;
        BasicRandom& random; // the program's one generator, so shuffles continue its sequence
    };

    ListEditing(const Controls& controls, const Services& services, QObject* parent);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void removeSelected(bool fromKeyboard);
    void changeSelectedGap();
    void moveSelectedUp();
    void moveSelectedDown();
    void clearList();
    void shuffle();
    // True when the key did its work here and the list must not handle it too.
    bool handleListKey(const QKeyEvent* event);
    void handleListPress(const QMouseEvent* event);

    // True while removal and clearing must wait.
    bool locked() const;
    int rows() const;
    // Selected row number counting from 1; 0 when none.
    int selectedRow() const;
    void selectRow(int row);
    void selectFirstRowIfNone();
    void showSelectedPath();
    // Selects the row after an edit (0: keeps the default) and shows its path.
    void showEdit(int row);

    Controls m_controls;
    Services m_services;
    QMenu* m_popupMenu;
};
