#pragma once

#include <QList>
#include <QObject>

class FlatButton;

// Who owns the playlist just now. An add, load, drop or removal (busy) or a
// recording run (busy and recording) keeps every other change of the list out,
// and long operations switch the command buttons off meanwhile.
class BusyState : public QObject {
    Q_OBJECT
public:
    explicit BusyState(QList<FlatButton*> commands, QObject* parent = nullptr);

    bool busy = false;
    bool recording = false;
    // A long operation lets events run between its files; one that arrives asking
    // it to stop (the window closing) is honoured after the current file.
    bool longOperationRunning = false;
    bool stopWanted = false;

    void disableCommands();
    void enableCommands();
    // A long operation has unwound.
    void endLongOperation();

Q_SIGNALS:
    void longOperationEnded();

private:
    QList<FlatButton*> m_commands;
};
