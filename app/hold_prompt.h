#pragma once

#include <QObject>
#include <QPointer>
#include <QRect>

class FlatButton;
class RecordingRun;
struct MainWindowControls;

// The "Recording status" frame while a run holds between a cassette's sides: it
// says what to do, in the room of the track's countdown, over a Continue button
// that exists only then. The total below stands still meanwhile.
class HoldPrompt : public QObject {
    Q_OBJECT
public:
    HoldPrompt(MainWindowControls& ui, RecordingRun& run, QObject* parent = nullptr);

private:
    void show();
    void hide();

    MainWindowControls& m_ui;
    RecordingRun& m_run;
    QRect m_labelPlace; // where the playing entry is named outside the hold
    QPointer<FlatButton> m_continue;
};
