#include "disc_lookup/disc_lookup.h"

#include "support/local_http_server.h"
#include "support/qt_printers.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

namespace {

const QString kId = QStringLiteral("49HHV7Eb8UKF3aQiNmu1GR8vKTY-");

// A release of one medium carrying discId, a track for each title.
QJsonObject release(const QString& title, const QString& discId, const QStringList& titles)
{
    QJsonArray tracks;
    for (const QString& track : titles)
        tracks.append(QJsonObject { { "title", track }, { "recording", QJsonObject { { "title", "recorded" } } } });
    const QJsonObject medium { { "discs", QJsonArray { QJsonObject { { "id", discId } } } }, { "tracks", tracks } };
    return { { "title", title }, { "artist-credit", QJsonArray { QJsonObject { { "name", "Ana Ruiz" } } } }, { "media", QJsonArray { medium } } };
}

QByteArray answer(const QJsonArray& releases)
{
    return QJsonDocument(QJsonObject { { "id", kId }, { "releases", releases } }).toJson(QJsonDocument::Compact);
}

// What the lookup said: the album and titles found, or the message of its failure.
QString lookUp(DiscLookup& lookup)
{
    QSignalSpy found(&lookup, &DiscLookup::found), failed(&lookup, &DiscLookup::failed);
    lookup.lookUp(kId, 2);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !found.isEmpty() || !failed.isEmpty(); }, 5000));
    if (!failed.isEmpty())
        return failed.first().at(1).toString();
    const LookedUpDisc disc = found.isEmpty() ? LookedUpDisc() : found.first().at(1).value<LookedUpDisc>();
    return disc.album + ": " + disc.titles.join(" / ");
}

} // namespace

TEST(DiscLookup, readsTheServicesAnswerOrSaysWhyNot)
{
    LocalHttpServer server;
    const std::pair<QByteArray, QString> answers[] = {
        // Of several releases, the first that carries the disc with as many tracks; if none fits, the first.
        { answer({ release("Other disc", "otherId", { "A", "B" }), release("Longer", kId, { "A", "B", "C" }),
                   release("Right", kId, { "Uno", "Dos" }), release("Later", kId, { "X", "Y" }) }), "Right: Ana Ruiz - Uno / Ana Ruiz - Dos" },
        { answer({ release("First", kId, { "A" }), release("Second", kId, { "B" }) }), "First: Ana Ruiz - A" },
        { R"({"releases": [{"title": "Juntos", "media": [{"tracks": [{"title": "Tres", "artist-credit": [{"name": "Ana",
            "joinphrase": " & "}, {"artist": {"name": "Luis"}}]}]}]}]})", "Juntos: Ana & Luis - Tres" }, // a track's own artists, joined
        // "Does not know the disc" is pinned where the main window says so.
        { "", "CD titles not looked up: 127.0.0.1 answered with HTTP status 503." },
        { "<html>{", "CD titles not looked up: 127.0.0.1 gave a broken answer: its answer names no release." },
        { answer({ QJsonObject { { "title", "Empty" } } }), "CD titles not looked up: 127.0.0.1 gave a broken answer: its answer names no tracks." },
    };
    for (const auto& [body, said] : answers) {
        DiscLookup fresh; // each its own, or each would wait its second
        fresh.setBaseAddress(server.address({}));
        server.respond(body.isEmpty() ? 503 : 200, body);
        EXPECT_EQ(lookUp(fresh), said);
    }
    EXPECT_TRUE(server.lastRequest.startsWith("GET /ws/2/discid/" + kId.toLatin1() + "?inc=recordings+artist-credits&"));
    EXPECT_TRUE(server.lastRequest.contains("\r\nUser-Agent: Trelvik/")) << server.lastRequest.constData();

    DiscLookup slow, offline;
    slow.setBaseAddress(server.address({}));
    slow.setTimeout(200);
    offline.setBaseAddress(LocalHttpServer::refusingAddress().section('/', 0, 2));
    server.neverAnswer();
    EXPECT_EQ(lookUp(slow), "CD titles not looked up: 127.0.0.1 did not answer within 0.2 s.");
    EXPECT_TRUE(lookUp(offline).startsWith("CD titles not looked up: 127.0.0.1 cannot be reached ("));
}

// The service allows one question a second: a second disc waits its turn.
// The clock is the test's: the spacing is counted from when a question is asked.
TEST(DiscLookup, asksAtMostOnceASecond)
{
    LocalHttpServer server;
    server.respond(404, {});
    DiscLookup lookup;
    qint64 now = 5000;
    lookup.setClock([&] { return now; });
    lookup.setBaseAddress(server.address({}));
    QSignalSpy failed(&lookup, &DiscLookup::failed);
    QTimer* spacing = lookup.findChild<QTimer*>("questionSpacing");
    ASSERT_TRUE(spacing);
    lookup.lookUp(kId, 2);
    lookup.lookUp("secondId", 2);
    ASSERT_TRUE(QTest::qWaitFor([&] { return failed.size() == 1; }, 5000));
    // Answered at once, the second waits out the rest of the second, however often it is woken meanwhile.
    for (const qint64 at : { 5000, 5999 }) {
        now = at;
        QMetaObject::invokeMethod(spacing, "timeout");
        EXPECT_EQ(std::tuple(spacing->isActive(), spacing->interval(), server.requests), std::tuple(true, int(6000 - at), 1));
    }
    now = 6000;
    spacing->stop();
    QMetaObject::invokeMethod(spacing, "timeout");
    ASSERT_TRUE(QTest::qWaitFor([&] { return failed.size() == 2; }, 5000));
    EXPECT_EQ(QStringList({ failed[0][0].toString(), failed[1][0].toString() }), QStringList({ kId, "secondId" }));
    EXPECT_TRUE(server.requests == 2 && server.lastRequest.startsWith("GET /ws/2/discid/secondId?"));
}
