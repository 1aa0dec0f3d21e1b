#include "common/basic_random.h"
#include "playlist/playlist.h"
#include "playlist/playlist_model.h"
#include "playlist/row_form.h"

#include <QSignalSpy>
#include <QTreeView>
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
        playlist.append({"a.mp3", 100, 2000});
        playlist.append({"b.mp3", 50, 1000});
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
    EXPECT_EQ(std::tuple(changed.count(), totals.count()), std::tuple(4, 5)); // exchange, gap, shuffle, removal

    QSignalSpy cleared(&playlist, &Playlist::cleared);
    playlist.clear();
    EXPECT_TRUE(cleared.count() == 1 && playlist.isEmpty());
    EXPECT_EQ(totals.last().first().toDouble(), 0);
}

// A file name may hold line breaks; its row stays one line high, as every other.
TEST(PlaylistModel, showsANameWithLineBreaksOnOneLine)
{
    Playlist playlist;
    PlaylistModel model(playlist);
    const QString names[] = {"/m/plain.mp3", "/m/two\nlines.mp3", "/m/a\r\nb\rc.wav", QString("/m/x") + QChar::LineSeparator + "y.ogg"};
    for (const QString& name : names)
        playlist.append({name, 10, 2000});
    const auto file = [&](int row) { return model.index(row, int(PlaylistColumn::File)).data().toString(); };
    EXPECT_EQ(file(0), "/m/plain.mp3");
    EXPECT_EQ(file(1), QString("/m/two") + QChar(0x23CE) + "lines.mp3");
    EXPECT_EQ(file(2), QString("/m/a") + QChar(0x23CE) + "b" + QChar(0x23CE) + "c.wav");
    EXPECT_EQ(file(3), QString("/m/x") + QChar(0x23CE) + "y.ogg");
    EXPECT_EQ(playlist.at(2).path, names[2]) << "the entry keeps its name";

    QTreeView view;
    view.setModel(&model);
    for (int row = 1; row < 4; ++row)
        EXPECT_EQ(view.sizeHintForRow(row), view.sizeHintForRow(0)) << row;
}

} // namespace
