#include "common/basic_random.h"
#include "playlist/playlist.h"

#include <QSignalSpy>
#include <gtest/gtest.h>

namespace {

// Rows follow every change at once; the total follows every change too, but while
// a batch is open (an add letting events run between files) only once, at its close.
TEST(Playlist, announcesEveryChangeAndRecountsTheTotalOnceABatchCloses)
{
    Playlist playlist;
    QSignalSpy appended(&playlist, &Playlist::entryAppended);
    QSignalSpy changed(&playlist, &Playlist::entriesChanged);
    QSignalSpy totals(&playlist, &Playlist::totalChanged);
    {
        const Playlist::Batch batch(playlist);
        playlist.append({"a.mp3", "100", 2000});
        playlist.append({"b.mp3", "50", 1000});
        EXPECT_EQ(appended.count(), 2);
        EXPECT_EQ(appended.last().first().toInt(), 1);
        EXPECT_EQ(totals.count(), 0);
    }
    ASSERT_EQ(totals.count(), 1);
    EXPECT_EQ(playlist.total(), 152); // the last gap is never played

    playlist.exchange(0, 1);
    EXPECT_EQ(playlist.at(0).path, "b.mp3");
    playlist.setGap(0, 4000);
    EXPECT_EQ(playlist.total(), 154);
    BasicRandom random;
    playlist.shuffle(random);
    playlist.remove(0);
    EXPECT_EQ(playlist.count(), 1);
    EXPECT_EQ(changed.count(), 4);
    EXPECT_EQ(totals.count(), 5);

    QSignalSpy cleared(&playlist, &Playlist::cleared);
    playlist.clear();
    EXPECT_EQ(cleared.count(), 1);
    EXPECT_TRUE(playlist.isEmpty());
    EXPECT_EQ(totals.last().first().toDouble(), 0);
}

} // namespace
