#pragma once

#include "app/main_window.h"

#include <QEventLoop>
#include <QTimer>

// Lets the event loop run, sleeping between events, until the window's recording
// run is over or limitMs have passed.
inline void waitForTheRunToEnd(MainWindow& window, int limitMs)
{
    QEventLoop loop;
    QTimer check;
    QObject::connect(&check, &QTimer::timeout, &loop, [&] {
        if (!window.recording)
            loop.quit();
    });
    QTimer::singleShot(limitMs, &loop, &QEventLoop::quit);
    check.start(250); // seldom, so that a benchmark counts the program's wake-ups, not its own
    loop.exec();
}
