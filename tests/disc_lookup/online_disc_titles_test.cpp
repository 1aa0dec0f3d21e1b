#include "disc_lookup/disc_lookup.h"
#include "disc_lookup/disc_title_cache.h"
#include "disc_lookup/online_disc_titles.h"
#include "support/example_disc.h"
#include "support/fake_discs.h"
#include "support/file_bytes.h"
#include "support/local_http_server.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace {

const QString kDrive = QStringLiteral("/run/user/1000/trelvik/Audio CD");

const QByteArray kAnswer = R"({"releases": [{"title": "Lento", "artist-credit": [{"name": "Ana"}], "media": [
    {"discs": [{"id": "49HHV7Eb8UKF3aQiNmu1GR8vKTY-"}], "tracks": [{"title": "Uno"}, {"title": "Dos"}]}]}]})";

} // namespace

// A disc without CD-Text is looked up once, its titles kept for the next start; a
// sheet or a disc that names its tracks itself is never asked about.
TEST(OnlineDiscTitles, looksUpADiscOnceAndKeepsItsTitles)
{
    QTemporaryDir dir;
    const QString cache = dir.filePath(kDiscTitleCacheFileName);
    LocalHttpServer server;
    server.respond(200, kAnswer);
    FakeDiscs discs;
    discs.setDisc(kDrive, exampleDisc());
    DiscLookup lookup;
    lookup.setBaseAddress(server.address({}));
    OnlineDiscTitles titles(discs, lookup, cache);
    QSignalSpy arrived(&titles, &OnlineDiscTitles::titlesArrived);

    EXPECT_EQ(titles.titleOf(kDrive + "/Track02.cda") + titles.titleOf(kDrive + "/Track01.cda"), ""); // the second asked already
    ASSERT_TRUE(arrived.wait(5000));
    EXPECT_EQ(server.requests, 1);
    EXPECT_EQ(titles.titleOf(kDrive + "/Track02.cda") + titles.titleOf(kDrive + "/Track03.cda"), "Ana - Dos"); // the service named two only

    server.respond(500, {});
    DiscLookup later;
    later.setBaseAddress(server.address({}));
    OnlineDiscTitles again(discs, later, cache);
    EXPECT_EQ(again.titleOf(kDrive + "/Track01.cda"), "Ana - Uno");

    Disc named = exampleDisc();
    named.leadOut += 75; // another disc
    named.tracks[0].title = "Own Title";
    discs.setDisc(kDrive, named);
    discs.setDisc("/rips/album.cue", exampleDisc());
    for (const QString& unasked : { kDrive + "/Track02.cda", QStringLiteral("/rips/album.cue/Track02.cda"), QStringLiteral("/music/Track02.mp3") })
        EXPECT_EQ(again.titleOf(unasked), "") << unasked.toStdString();
    QTest::qWait(50); // time for a request that ought not to be
    EXPECT_EQ(server.requests, 1);
}

TEST(DiscTitleCache, keepsItsDiscsAndReadsNothingFromADamagedFile)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(kDiscTitleCacheFileName);
    EXPECT_TRUE(readDiscTitleCache(path).isEmpty());
    // Tabs and line breaks in a title would split it: they are spaces in the file.
    const DiscTitleCache cache { { "49HHV7Eb8UKF3aQiNmu1GR8vKTY-", { "R\u00edo\tLento", { "Ana - Uno", "Dos\nTres", "" } } },
                                 { "xyzHV7Eb8UKF3aQiNmu1GR8vKTY-", { "", { "Solo" } } } };
    writeDiscTitleCache(path, cache);
    EXPECT_EQ(readDiscTitleCache(path),
              (DiscTitleCache { { "49HHV7Eb8UKF3aQiNmu1GR8vKTY-", { "R\u00edo Lento", { "Ana - Uno", "Dos Tres", "" } } },
                                { "xyzHV7Eb8UKF3aQiNmu1GR8vKTY-", { "", { "Solo" } } } }));

    const QByteArray good = discTitleCacheBytes(cache);
    // A line that is no disc is left out; the others stay.
    const DiscTitleCache mixed = parseDiscTitleCache(good + "short id\tAlbum\tTitle\n"
                                                             "49HHV7Eb8UKF3aQiNmu1GR8vKT/-\tAlbum\tTitle\n"
                                                             "abcHV7Eb8UKF3aQiNmu1GR8vKTY-\tno titles\n\xff\xfe\n");
    EXPECT_EQ(mixed.keys().size(), 2);
    // Empty, another file, no line end after the first line, huge.
    for (const QByteArray& damaged : { QByteArray(), "[Settings]\n" + good.mid(good.indexOf('\n') + 1),
                                       good.left(good.indexOf('\n')), good + QByteArray(5 << 20, '\t') }) {
        writeBytes(path, damaged);
        EXPECT_TRUE(parseDiscTitleCache(damaged).isEmpty() && readDiscTitleCache(path).isEmpty()) << damaged.left(40).constData();
    }
    EXPECT_TRUE(readDiscTitleCache(dir.path()).isEmpty()); // a folder
}
