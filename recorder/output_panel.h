#pragma once

#include "medium/output_choice.h"

#include <QTimer>
#include <QWidget>

class LevelMeter;
class MediaPlayer;
class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QLabel;
class SoundOutputs;

// What reaches the recorder: the output a run plays to, other programs' sounds
// kept off it, the lead-in, the loudness the list is brought to, a meter of what
// is heard, and the input that listens to what the recorder receives. The lists
// of outputs and inputs follow the sound server as devices come and go.
class OutputPanel : public QWidget {
    Q_OBJECT
public:
    OutputPanel(SoundOutputs& outputs, SoundOutputs& inputs, MediaPlayer& player, const OutputChoice& choice,
                QWidget* parent = nullptr);

    const OutputChoice& choice() const { return m_choice; }
    // Why other sounds are not kept off the recording going on; empty when they are.
    void setKeepOffProblem(const QString& problem);

Q_SIGNALS:
    void choiceChanged(const OutputChoice& choice);

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void listOutputs();
    void listInputs();
    void showNotice();
    void take();

    SoundOutputs& m_outputs;
    SoundOutputs& m_inputs;
    MediaPlayer& m_player;
    OutputChoice m_choice;
    QString m_keepOffProblem;
    QTimer m_meterTimer;

    QComboBox* m_output;
    QComboBox* m_listen;
    QCheckBox* m_keepOff;
    QCheckBox* m_keepReceived;
    QDoubleSpinBox* m_leadIn;
    QComboBox* m_loudness;
    QDoubleSpinBox* m_preamp;
    QLabel* m_notice;
    LevelMeter* m_meter;
};
