#pragma once

#include "sound_server/other_sounds.h"

#include <QStringList>

// Records what was kept off and whether it is off still; answers with a set problem.
class FakeOtherSounds : public OtherSounds {
public:
    QStringList keptOff; // the output of each keepOff
    QString problem;
    bool off = false;

    void keepOff(const QString& outputName, Told told) override { keptOff << outputName; off = true; told(problem); }
    void restore() override { off = false; }
};
