#include "common/busy_state.h"

#include "common/flat_button.h"

BusyState::BusyState(QList<FlatButton*> commands, QObject* parent)
    : QObject(parent)
    , m_commands(std::move(commands))
{
}

void BusyState::disableCommands()
{
    switchButtonsOff(m_commands);
}

void BusyState::enableCommands()
{
    switchButtonsOn(m_commands);
}

void BusyState::endLongOperation()
{
    longOperationRunning = false;
    Q_EMIT longOperationEnded();
}
