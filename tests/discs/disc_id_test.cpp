#include "discs/disc_id.h"

#include <gtest/gtest.h>

namespace {

// A disc of audio tracks starting at the given sectors, the last ending at leadOut.
Disc discOf(const QList<qint64>& starts, qint64 leadOut, int firstNumber = 1)
{
    Disc disc;
    for (int number = 1; number < firstNumber; ++number)
        disc.tracks.append({ false, 0, {} });
    for (qsizetype i = 0; i < starts.size(); ++i) {
        DiscTrack track;
        track.start = starts[i];
        track.sectors = (i + 1 < starts.size() ? starts[i + 1] : leadOut) - starts[i];
        disc.tracks.append(track);
    }
    disc.leadOut = leadOut;
    return disc;
}

} // namespace

TEST(DiscId, isMusicBrainzsFromTheTableOfContents)
{
    // MusicBrainz's own worked example (its "Disc ID Calculation" page).
    const Disc example = discOf({ 0, 15213, 32164, 46442, 63264, 80339 }, 95312);
    EXPECT_EQ(musicBrainzDiscId(example), "49HHV7Eb8UKF3aQiNmu1GR8vKTY-");

    // An enhanced CD's data track is no part of it: its audio ends 11400 sectors earlier.
    Disc enhanced = discOf({ 0, 15213, 32164, 46442, 63264, 80339 }, 95312 + 11400 + 5000);
    DiscTrack data;
    data.audio = false;
    data.start = 95312 + 11400;
    data.sectors = 5000;
    enhanced.tracks[5].sectors += 11400;
    enhanced.tracks.append(data);
    EXPECT_EQ(musicBrainzDiscId(enhanced), "49HHV7Eb8UKF3aQiNmu1GR8vKTY-");

    // The numbers count: the same starts from track 2 on are another disc.
    const QString later = musicBrainzDiscId(discOf({ 0, 15213, 32164, 46442, 63264, 80339 }, 95312, 2));
    EXPECT_EQ(later.size(), 28);
    EXPECT_NE(later, "49HHV7Eb8UKF3aQiNmu1GR8vKTY-");

    EXPECT_EQ(musicBrainzDiscId(Disc {}), "");
    EXPECT_EQ(musicBrainzDiscId(discOf({ 0 }, 0)), ""); // no lead-out read
}
