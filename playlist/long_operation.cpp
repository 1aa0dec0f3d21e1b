#include "playlist/long_operation.h"

#include "common/busy_state.h"

#include <QApplication>

LongOperation::LongOperation(BusyState& busy, Playlist& playlist)
    : m_busy(busy)
{
    m_batch.emplace(playlist);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    m_busy.disableCommands();
    m_busy.busy = true;
    m_busy.longOperationRunning = true;
}

LongOperation::~LongOperation()
{
    m_batch.reset(); // the total is recounted
    m_busy.enableCommands();
    m_busy.busy = false;
    QApplication::restoreOverrideCursor();
    m_busy.endLongOperation();
}
