#include "common/flat_button.h"
#include "common/link_label.h"
#include "help_windows/update_window.h"
#include "help_windows/version_file.h"
#include "help_windows/web_text_fetch.h"
#include "support/fake_dialogs.h"
#include "support/local_http_server.h"
#include "support/qt_printers.h"

#include <QLabel>
#include <QSignalSpy>
#include <QStringList>
#include <QTest>
#include <tuple>
#include <gtest/gtest.h>

using namespace std::chrono_literals;

namespace {

const QString kZip = QStringLiteral("http://velkor.example/trelvik/update.zip");
const QString kSetup = QStringLiteral("https://velkor.example/trelvik/setup.zip");

// What the window shows: the check button's caption and whether it is enabled, whether
// the link is, its caption and address, and the steps under it.
using Shown = std::tuple<QString, bool, bool, QString, QString, QString>;

Shown shown(const UpdateCheckWindow& w)
{
    return {w.checkButton->text(), w.checkButton->isEnabled(), w.downloadLink->isEnabled(), w.downloadLink->text(),
            w.downloadLink->command, w.instructionsLabel->text()};
}

QByteArray versionFile(const char* versions, const QString& setup = kSetup)
{
    return QByteArray(versions) + '*' + kZip.toUtf8() + '*' + setup.toUtf8() + "*x*y";
}

// Waits as the update check does: for the transfer to announce its end.
QString fetch(WebTextFetch& fetcher, const QString& address)
{
    QSignalSpy finished(&fetcher, &WebTextFetch::finished);
    fetcher.openUrl(address);
    EXPECT_TRUE(finished.wait(10000)) << "the transfer did not end";
    return fetcher.text();
}

} // namespace

class UpdateWindowTest : public ::testing::Test {
protected:
    FakeDialogs dialogs;
    LocalHttpServer server;
    UpdateCheckWindow window{dialogs, server.address(), 2s};
    // As the window first shows, before any check; every check that arms nothing ends so.
    const Shown designState = shown(window);

    // Presses the check button and waits for the check to end, which gives the button back.
    void check(const char* what, bool quiet = true)
    {
        window.show();
        QTest::mouseClick(window.checkButton, Qt::LeftButton);
        EXPECT_TRUE(QTest::qWaitFor([this] { return window.checkButton->isEnabled(); }, 10000)) << what;
        if (quiet) {
            EXPECT_EQ(shown(window), designState) << what;
        }
    }
};

TEST_F(UpdateWindowTest, checksOnlyWhenAskedArmsTheLinkForTheUpdateThatAppliesOrEndsQuietly)
{
    QCoreApplication::processEvents();
    EXPECT_EQ(server.requests, 0);
    EXPECT_TRUE(std::get<1>(designState) && !std::get<2>(designState) && std::get<4>(designState).isEmpty());
    server.respond(200, versionFile("1*6*0*1*6*5"));
    check("no update");
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].icon, QMessageBox::Information);
    dialogs.messages.clear();

    const QString linkCaption = std::get<3>(designState);
    const struct { const char* file; QString command; const char* suffix; const char* step; } cases[] = {
        {"1*7*0*1*7*0", kSetup, " y", "Setup.exe"}, {"1*6*0*1*7*0", kZip, " x", "extract"}};
    for (const auto& c : cases) {
        server.respond(200, versionFile(c.file));
        check(c.file, false);
        const auto [button, checkable, armed, caption, command, steps] = shown(window);
        EXPECT_EQ(std::tuple(button, checkable, armed, caption, command),
                  std::tuple(std::get<0>(designState), true, true, linkCaption + c.suffix, c.command)) << c.file;
        EXPECT_TRUE(steps.contains(c.step)) << steps.toStdString();
    }
    // The body would arm the link: a quiet end shows the link reset and that an HTTP error gives no text.
    server.respond(404, versionFile("1*6*0*1*7*0"));
    check("HTTP error after an armed check");

    server.neverAnswer(); // closing or the time limit gives up the check
    server.onRequest = [this] { window.close(); };
    check("closed while waiting");
    server.onRequest = {};
    check("no answer within the time limit");
    EXPECT_TRUE(dialogs.messages.empty());
}

// The window's test gives up a server that never answers and uses the fetcher again afterwards.
TEST(WebTextFetchTest, readsTheBodyAsUtf8AndNoMoreThan64KibAndGivesUpAServerThatCannotBeReached)
{
    LocalHttpServer server;
    WebTextFetch fetcher(10s);
    server.respond(200, "caf\xc3\xa9");
    EXPECT_EQ(fetch(fetcher, server.address()), u"caf\u00e9");
    server.respond(200, QByteArray(4 * 1024 * 1024, 'y'));
    const QString text = fetch(fetcher, server.address());
    EXPECT_TRUE(text == QString(WebTextFetch::kMaxSize, u'y')) << text.size(); // EXPECT_EQ would print 64 KiB
    EXPECT_TRUE(fetch(fetcher, LocalHttpServer::refusingAddress()).isEmpty());
}

// The plain case of each outcome, its caption and its steps are checked where the update window shows them.
TEST(VersionFileTest, splitsTenFieldsAndDecidesTheFourOutcomesLinkingOnlyToWebPages)
{
    const struct { const char* text; QStringList fields; } splits[] = {
        // An empty value leaves its field free: the next value lands there.
        {"1**6*0*1*7*0*a*b*x*y", {"1", "6", "0", "1", "7", "0", "a", "b", "x", "y"}},
        // Field 10 takes the rest, further "*" included; missing fields stay empty.
        {"1*2*3*4*5*6*7*8*9*10*11*12\r\n", {"1", "2", "3", "4", "5", "6", "7", "8", "9", "10*11*12\r\n"}},
        {"1*6*5", {"1", "6", "", "", "", "", "", "", "", "5"}},
    };
    for (const auto& c : splits) {
        const VersionFields fields = splitVersionFile(QString::fromLatin1(c.text));
        EXPECT_EQ(QStringList(fields.begin(), fields.end()), c.fields) << c.text;
    }
    const struct { const char* versions; UpdateDecision::Outcome outcome; QString command, setup = kSetup; } cases[] = {
        {"1*6*5*1*7*0", UpdateDecision::ZipUpdate, kZip}, // ours is the oldest the ZIP updates
        {"1*0*0*1*6*0", UpdateDecision::Nothing, {}},
        {"1*7*0*1*6*5", UpdateDecision::FullSetup, kSetup}, // too old for the ZIP wins even when the newest is ours
        {"1*6*0*1*6*4.6", UpdateDecision::NoUpdate, {}},    // the newest is rounded: 164.6 counts as 165
        {"1*6*0*400*0*0", UpdateDecision::Nothing, {}},     // beyond any 16-bit number: the file is ignored
        {"1*7*0*1*7*0", UpdateDecision::Nothing, {}, "javascript:alert(1)"},
    };
    for (const auto& c : cases) {
        const UpdateDecision decision = decideUpdate(splitVersionFile(QString::fromUtf8(versionFile(c.versions, c.setup))), 165);
        EXPECT_EQ(std::tuple(decision.outcome, decision.linkCommand), std::tuple(c.outcome, c.command)) << c.versions;
    }
    const struct { const char* field; const char* address; } addresses[] = {
        {" https://velkor.example/u.zip\r\n", "https://velkor.example/u.zip"}, {"/usr/bin/xterm", ""},
        {"https://velkor.example/a b.zip", "https://velkor.example/a%20b.zip"}, {"ftp://velkor.example/u.zip", ""},
        {"http://", ""},
    };
    for (const auto& c : addresses)
        EXPECT_EQ(webAddress(QString::fromLatin1(c.field)), QString::fromLatin1(c.address)) << c.field;
}
