#include "common/busy_state.h"

#include "common/flat_button.h"

#include <utility>

BusyState::Claim::Claim(BusyState& state, Activity activity)
    : m_state(state)
    , m_activity(activity)
{
    m_state.begin(activity);
}

BusyState::Claim::~Claim()
{
    m_state.end(m_activity);
}

BusyState::BusyState(const Commands& commands, QObject* parent)
    : QObject(parent)
    , m_commands(commands)
{
}

bool BusyState::busy() const
{
    return adding() || claims(Activity::Editing) > 0 || recording();
}

bool BusyState::recording() const
{
    return claims(Activity::Recording) > 0;
}

bool BusyState::adding() const
{
    return claims(Activity::Adding) > 0;
}

bool BusyState::askToStop()
{
    if (!adding())
        return false;
    m_stopWanted = true;
    return true;
}

const QList<FlatButton*>& BusyState::buttonsOf(Activity activity) const
{
    return activity == Activity::Recording ? m_commands.runCommands : m_commands.listCommands;
}

void BusyState::begin(Activity activity)
{
    QList<FlatButton*> goingOff;
    for (FlatButton* button : buttonsOf(activity)) {
        if (m_switchedOff[button]++ == 0)
            goingOff << button;
    }
    switchButtonsOff(goingOff);
    if (activity == Activity::Recording && m_switchedOff[m_commands.moveButtons]++ == 0)
        m_commands.moveButtons->setEnabled(false);
    ++m_claims[int(activity)];
}

void BusyState::end(Activity activity)
{
    --m_claims[int(activity)];
    QList<FlatButton*> comingOn;
    for (FlatButton* button : buttonsOf(activity)) {
        if (--m_switchedOff[button] == 0)
            comingOn << button;
    }
    switchButtonsOn(comingOn);
    if (activity == Activity::Recording && --m_switchedOff[m_commands.moveButtons] == 0)
        m_commands.moveButtons->setEnabled(true);
    if (activity == Activity::Adding && !adding() && std::exchange(m_stopWanted, false))
        Q_EMIT stoppedAsAsked();
}
