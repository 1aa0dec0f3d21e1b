#pragma once

#include <QHash>
#include <QList>
#include <QObject>

class FlatButton;
class QWidget;

// Who owns the playlist just now. Adding (an add, load or drop), editing (a
// removal) and a recording run each hold a claim while they work; while any claim
// lives the list is busy and the others refuse to change it. A claim switches its
// activity's command buttons off until it ends; a button that two claims switched
// off comes back only when both have ended.
class BusyState : public QObject {
    Q_OBJECT
public:
    enum class Activity { Adding, Editing, Recording };

    // What each activity switches off while it runs.
    struct Commands {
        QList<FlatButton*> listCommands; // adding and editing
        QList<FlatButton*> runCommands;  // recording
        QWidget* moveButtons;            // recording, too
    };

    // Held for as long as the activity works, however it ends.
    class Claim {
    public:
        Claim(BusyState& state, Activity activity);
        ~Claim();
        Claim(const Claim&) = delete;
        Claim& operator=(const Claim&) = delete;

    private:
        BusyState& m_state;
        Activity m_activity;
    };

    explicit BusyState(const Commands& commands, QObject* parent = nullptr);

    bool busy() const;
    bool recording() const;
    // Adding lets events run between its files; the window must not go meanwhile.
    bool adding() const;
    // Asks the running add to stop after its current file; false when none runs.
    bool askToStop();
    bool stopWanted() const { return m_stopWanted; }

Q_SIGNALS:
    // An add that was asked to stop has ended.
    void stoppedAsAsked();

private:
    void begin(Activity activity);
    void end(Activity activity);
    int claims(Activity activity) const { return m_claims[int(activity)]; }
    const QList<FlatButton*>& buttonsOf(Activity activity) const;

    Commands m_commands;
    int m_claims[3] = {};
    QHash<QWidget*, int> m_switchedOff; // how many live claims keep each control off
    bool m_stopWanted = false;
};
