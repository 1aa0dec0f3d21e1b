#include "playlist/long_operation.h"

#include "app/main_window.h"

#include <QApplication>

LongOperation::LongOperation(MainWindow& window)
    : m_window(window)
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    m_window.da();
    m_window.busy = true;
}

LongOperation::~LongOperation()
{
    m_window.räknatid();
    m_window.ea();
    m_window.busy = false;
    QApplication::restoreOverrideCursor();
}
