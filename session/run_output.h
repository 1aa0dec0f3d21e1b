#pragma once

#include "medium/output_choice.h"

#include <QObject>
#include <optional>

class MediaPlayer;
class OtherSounds;
class SoundOutputs;

// Where a run and a played passage go: the output chosen and nowhere else, with
// other programs' sounds kept off it while they sound when so chosen, and let back
// on at every way out.
class RunOutput : public QObject {
    Q_OBJECT
public:
    RunOutput(SoundOutputs& outputs, OtherSounds& otherSounds, MediaPlayer& player, QObject* parent = nullptr);
    ~RunOutput() override;

    void setChoice(const OutputChoice& choice);

    // Why a run cannot start now: the chosen output is not there. Nothing when it can.
    std::optional<QString> refusal() const;

    void runStarted();
    void runEnded();
    void passageStarting();
    void passageOver();
    // Unmutes what was kept off, at once: the program closes.
    void letOthersBack();

Q_SIGNALS:
    // The chosen output went away while a run played to it.
    void lostDuringRun(const QString& description);
    // Other programs' sounds could not all be kept off, in a sentence to show.
    void keepOffProblem(const QString& problem);

private:
    bool isThere(const QString& outputName) const;
    void keepOthersOff();
    void checkChosen();

    SoundOutputs& m_outputs;
    OtherSounds& m_otherSounds;
    MediaPlayer& m_player;
    OutputChoice m_choice;
    bool m_runSounding = false;
    bool m_passageSounding = false;
    bool m_keptOff = false;
    QString m_soundingOn; // the output chosen when the run or passage started
    QString m_soundingTitle;
};
