#pragma once

#include "discs/discs.h"

#include <QHash>

// The computer's discs: CUE sheets as they are read from their files, and the disc
// in the first drive that holds one with audio on it.
class SystemDiscs final : public Discs {
public:
    // Each disc is read once: a list of a disc's tracks asks it for each.
    std::optional<Disc> disc(const QString& discPath) override;
    void lookAgain() override { m_read.clear(); }

private:
    QHash<QString, std::optional<Disc>> m_read; // by sheet, the drive's under an empty path
};
