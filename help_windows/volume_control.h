#pragma once

#include <QString>
#include <QStringList>

// The system's volume control program, which the "Hot keys" button starts.
struct VolumeControl {
    QString program; // empty when the system has none
    QStringList arguments;

    bool found() const { return !program.isEmpty(); }
};

// Looks for a volume control program; searchPaths replaces the system's search path
// when given.
VolumeControl findVolumeControl(const QStringList& searchPaths = {});

// Starts it without waiting for it.
void startVolumeControl(const VolumeControl& control);
