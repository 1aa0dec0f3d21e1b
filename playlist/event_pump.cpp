#include "playlist/event_pump.h"

#include <QCoreApplication>

namespace {
constexpr qint64 kFrameMilliseconds = 16;
}

void EventPump::letEventsRun()
{
    if (m_sinceLastRun.isValid() && m_sinceLastRun.elapsed() < kFrameMilliseconds)
        return;
    QCoreApplication::processEvents();
    m_sinceLastRun.start();
}
