#pragma once

#include <QObject>

class MainWindow;
class QKeyEvent;
class QMenu;
class QMouseEvent;

// The edits of the playlist in the main window: remove, clear, shuffle, move up and
// down, change gap, the keys of ListView1 and its popup menu meny. Every edit changes
// the table first and then shows it; none acts during a recording run, and removal
// and clearing also wait while another operation is busy with the list.
class ListEditing : public QObject {
    Q_OBJECT
public:
    // Wires the window's controls; the window owns the result.
    explicit ListEditing(MainWindow& window);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void tabort_Click(bool fromKeyboard);
    void ändragap_Click();
    void UpDown1_UpClick();
    void UpDown1_DownClick();
    void clearList_Click();
    void shuffle_Click();
    // True when the key did its work here and the list must not handle it too.
    bool ListView1_KeyDown(const QKeyEvent* event);
    void ListView1_MouseDown(const QMouseEvent* event);

    // True while removal and clearing must wait.
    bool locked() const;
    int rows() const;
    // Selected row number counting from 1; 0 when none.
    int selectedRow() const;
    void selectRow(int row);
    void selectFirstRowIfNone();
    void showSelectedPath();
    // Rebuilds the rows, recomputes the total and selects the row (0: keeps the default).
    void showEdit(int row);

    MainWindow& m_window;
    QMenu* m_meny;
};
