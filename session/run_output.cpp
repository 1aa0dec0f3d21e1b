#include "session/run_output.h"

#include "player/media_player.h"
#include "sound_server/other_sounds.h"
#include "sound_server/sound_outputs.h"

#include <QPointer>


RunOutput::RunOutput(SoundOutputs& outputs, OtherSounds& otherSounds, MediaPlayer& player, QObject* parent)
    : QObject(parent)
    , m_outputs(outputs)
    , m_otherSounds(otherSounds)
    , m_player(player)
{
    m_player.setOutput(m_choice.outputName);
    connect(&outputs, &SoundOutputs::changed, this, &RunOutput::checkChosen);
}

void RunOutput::setChoice(const OutputChoice& choice)
{
    m_choice = choice;
    m_player.setOutput(choice.outputName);
}

RunOutput::~RunOutput()
{
    letOthersBack();
}

bool RunOutput::isThere(const QString& name) const
{
    return name.isEmpty() || outputNamed(m_outputs.outputs(), name).has_value();
}

std::optional<QString> RunOutput::refusal() const
{
    if (isThere(m_choice.outputName))
        return std::nullopt;
    return QStringLiteral("The sound output \"%1\" is not connected. Connect it, or choose another output in the "
                          "Recorder window.")
        .arg(outputTitle(m_choice));
}

// A run stops what played before it, a passage among it.
void RunOutput::runStarted()
{
    m_runSounding = true;
    m_passageSounding = false;
    m_soundingOn = m_choice.outputName;
    m_soundingTitle = outputTitle(m_choice);
    keepOthersOff();
}

void RunOutput::runEnded()
{
    m_runSounding = false;
    letOthersBack();
}

void RunOutput::passageStarting()
{
    if (m_runSounding)
        return;
    m_passageSounding = true;
    m_soundingOn = m_choice.outputName;
    m_soundingTitle = outputTitle(m_choice);
    keepOthersOff();
}

void RunOutput::passageOver()
{
    if (!m_passageSounding)
        return;
    m_passageSounding = false;
    letOthersBack();
}

void RunOutput::keepOthersOff()
{
    if (m_keptOff || !m_choice.keepOtherSoundsOff)
        return;
    m_keptOff = true;
    m_otherSounds.keepOff(m_soundingOn, [self = QPointer<RunOutput>(this)](const QString& problem) {
        if (self)
            Q_EMIT self->keepOffProblem(problem);
    });
}

void RunOutput::letOthersBack()
{
    if (std::exchange(m_keptOff, false))
        m_otherSounds.restore();
}

// The sound server would move the stream to another output by itself; a recording
// half on one output and half on another is no recording.
void RunOutput::checkChosen()
{
    if (isThere(m_soundingOn))
        return;
    if (m_runSounding) {
        Q_EMIT lostDuringRun(
            QStringLiteral("The sound output \"%1\" went away during the recording.").arg(m_soundingTitle));
    } else if (m_passageSounding) {
        m_player.stop();
        passageOver();
    }
}
