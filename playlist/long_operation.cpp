#include "playlist/long_operation.h"

#include "app/main_window.h"

#include <QApplication>
#include <utility>

LongOperation::LongOperation(MainWindow& window)
    : m_window(window)
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    m_window.da();
    m_window.busy = true;
    m_window.longOperationRunning = true;
}

LongOperation::~LongOperation()
{
    m_window.räknatid();
    m_window.ea();
    m_window.busy = false;
    m_window.longOperationRunning = false;
    QApplication::restoreOverrideCursor();
    if (std::exchange(m_window.closeWanted, false))
        m_window.close(); // the close that came while the operation ran
}
