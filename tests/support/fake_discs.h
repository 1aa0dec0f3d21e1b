#pragma once

#include "common/failure.h"
#include "discs/discs.h"

#include <QHash>
#include <QStringList>

// Discs a test sets up by the disc path they are asked for; every question is kept.
class FakeDiscs : public Discs {
public:
    QStringList asked;
    int looksAgain = 0;
    QString failure; // when set, every question fails with it

    // CD time: minutes, seconds and sectors.
    static qint64 sectors(int minutes, int seconds, int sectorsMore = 0) { return (minutes * 60 + seconds) * kSectorsPerSecond + sectorsMore; }

    // Puts track number on the disc at discPath, the numbers before it that the disc
    // lacks becoming numbers it skips. Its sound is a drive's track unless given.
    void setTrack(const QString& discPath, int number, qint64 sectors, std::optional<SoundSource> sound = {},
                  bool audio = true)
    {
        std::optional<Disc>& disc = m_discs[discPath];
        disc = disc.value_or(Disc());
        while (disc->tracks.size() < number)
            disc->tracks.append(DiscTrack{ false, 0, {}, {}, 0 });
        disc->tracks[number - 1] = { audio, sectors,
                                    sound.value_or(SoundSource { SoundSource::Kind::DriveTrack, "/dev/cdrom", number }),
                                    {}, 0 };
    }
    void setDisc(const QString& discPath, std::optional<Disc> disc) { m_discs[discPath] = std::move(disc); }

    std::optional<Disc> disc(const QString& discPath) override
    {
        if (!failure.isEmpty())
            throw Failure(failure);
        asked << discPath;
        return m_discs.value(discPath);
    }
    void lookAgain() override { ++looksAgain; }

private:
    QHash<QString, std::optional<Disc>> m_discs;
};
