#include "disc_lookup/disc_lookup.h"
#include "disc_lookup/online_disc_titles.h"

#include "support/example_disc.h"
#include "support/fake_discs.h"
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

    EXPECT_EQ(titles.titleOf(kDrive + "/Track02.cda"), "");
    EXPECT_EQ(titles.titleOf(kDrive + "/Track01.cda"), ""); // asked already
    ASSERT_TRUE(arrived.wait(5000));
    EXPECT_EQ(server.requests, 1);
    EXPECT_EQ(titles.titleOf(kDrive + "/Track02.cda"), "Ana - Dos");
    EXPECT_EQ(titles.titleOf(kDrive + "/Track03.cda"), ""); // the service named two only
    EXPECT_EQ(titles.albumOf(kDrive + "/Track03.cda"), "Lento");

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
    EXPECT_EQ(again.titleOf(kDrive + "/Track02.cda"), "");
    EXPECT_EQ(again.titleOf("/rips/album.cue/Track02.cda"), "");
    EXPECT_EQ(again.titleOf("/music/Track02.mp3"), "");
    EXPECT_EQ(again.albumOf(kDrive + "/Track02.cda"), "");
    QTest::qWait(50); // time for a request that ought not to be
    EXPECT_EQ(server.requests, 1);
}
