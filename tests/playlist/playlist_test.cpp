#include "common/basic_random.h"
#include "common/number_text.h"
#include "common/playlist_table.h"
#include "playlist/list_edits.h"
#include "playlist/playlist.h"
#include "playlist/playlist_model.h"
#include "playlist/playlist_total.h"
#include "playlist/row_form.h"

#include <QSignalSpy>
#include <QString>
#include <QTreeView>
#include <optional>
#include <utility>
#include <gtest/gtest.h>

namespace {

// Rows follow every change at once; the total is recounted after every edit, but
// while a batch is open (an add letting events run between files) only at its close.
// That each edit reaches whoever follows the list is SessionTest's to pin.
TEST(Playlist, recountsTheTotalOnceABatchClosesAndAfterEveryEdit)
{
    Playlist playlist;
    QSignalSpy appended(&playlist, &Playlist::entryAppended), totals(&playlist, &Playlist::totalChanged);
    {
        const Playlist::Batch batch(playlist);
        playlist.append({"a.mp3", 100, 2000});
        playlist.append({"b.mp3", 50, 1000});
        EXPECT_EQ(std::tuple(appended.count(), appended.last().first().toInt(), totals.count()), std::tuple(2, 1, 0));
    }
    EXPECT_EQ(std::tuple(totals.count(), playlist.total()), std::tuple(1, 152.0)); // the last gap is never played
    playlist.exchange(0, 1);
    playlist.setGap(0, 4000);
    EXPECT_EQ(std::tuple(playlist.at(0).path, playlist.total()), std::tuple(QStringLiteral("b.mp3"), 154.0));
    BasicRandom random;
    playlist.shuffle(random);
    playlist.remove(0);
    EXPECT_EQ(std::tuple(playlist.count(), totals.count()), std::tuple(1, 5)); // exchange, gap, shuffle, removal
    playlist.clear();
    EXPECT_TRUE(playlist.isEmpty() && totals.last().first().toDouble() == 0);
}

// A file name may hold line breaks; its row stays one line high, as every other.
TEST(PlaylistModel, showsANameWithLineBreaksOnOneLine)
{
    Playlist playlist;
    PlaylistModel model(playlist);
    QTreeView view;
    view.setModel(&model);
    const QString names[] = {"/m/plain.mp3", "/m/two\nlines.mp3", "/m/a\r\nb\rc.wav", QString("/m/x") + QChar::LineSeparator + "y.ogg"};
    const QString shown[] = {"/m/plain.mp3", "/m/two⏎lines.mp3", "/m/a⏎b⏎c.wav", "/m/x⏎y.ogg"};
    for (int row = 0; row < 4; ++row) {
        playlist.append({names[row], 10, 2000});
        EXPECT_EQ(model.index(row, int(PlaylistColumn::File)).data().toString(), shown[row]);
        EXPECT_EQ(view.sizeHintForRow(row), view.sizeHintForRow(0)) << row;
    }
    EXPECT_EQ(playlist.at(2).path, names[2]) << "the entry keeps its name";
}

PlaylistTable tableOf(std::initializer_list<std::pair<qint64, double>> entries)
{
    PlaylistTable table;
    for (const auto& [length, gap] : entries)
        table.push_back({QStringLiteral("song"), length, gap});
    return table;
}

} // namespace

TEST(PlaylistTotal, countsEveryGapButTheLastReadingEachAsTheGapColumnShowsItAndAsTypedWithinWhatATimerCanWait)
{
    const struct { PlaylistTable table; double total; const char* caption; const char* frame; } cases[] = {
        {tableOf({}), 0, "Total time: 00:00", "Playlist"},
        {tableOf({{4, 1500}, {1, 2000}}), 6.5, "Total time: 00:06.5", "Playlist - 2 files"},
        {tableOf({{3600, 0}}), 3600, "Total time: 60:00", "Playlist - 1 files"},
        // The fraction is cut after one digit, not rounded.
        {tableOf({{10, 1333}, {10, 1333}, {10, 1333}}), 32.666, "Total time: 00:32.6", "Playlist - 3 files"},
    };
    for (const auto& c : cases) {
        const double total = playlistTotal(c.table);
        EXPECT_NEAR(total, c.total, 1e-9);
        EXPECT_EQ(totalTimeCaption(total), c.caption);
        EXPECT_EQ(playlistFrameCaption(c.table), c.frame);
    }

    // The total reads each gap the way the Gap column shows it; the quick reading of whole
    // milliseconds below 10^15 must agree with the full rule on either side of that limit.
    const qint64 lengths[] = {999999999999999, 12};
    const double gaps[] = {1333, -1000, 1e15 - 1, 1234567890123456, 1333.3333333333333};
    for (qint64 length : lengths) {
        for (double gap : gaps) {
            const double expected = double(length) + leadingNumber(plainNumber(gap / 1000));
            EXPECT_EQ(playlistTotal(tableOf({{length, gap}, {0, 0}})), expected) << length << " " << gap;
        }
    }

    // A gap is read in seconds by the leading-number rule; one that a timer cannot wait,
    // beyond a signed 32-bit count of milliseconds either way, is refused.
    const std::pair<const char16_t*, std::optional<double>> answers[] = {
        {u"1.5 s", 1500}, {u"-1", -1000}, {u"2147483.647", 2147483647}, {u"2147483.648", std::nullopt},
        {u"-1e300", std::nullopt},
    };
    for (const auto& [answer, expected] : answers)
        EXPECT_EQ(gapMilliseconds(QStringView(answer)), expected) << QString::fromUtf16(answer).toStdString();
}
