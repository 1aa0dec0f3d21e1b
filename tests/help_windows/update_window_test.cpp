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

QByteArray versionFile(const char* versions, const QString& zip = kZip, const QString& setup = kSetup)
{
    return QByteArray(versions) + '*' + zip.toUtf8() + '*' + setup.toUtf8() + "*x*y";
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
    std::unique_ptr<UpdateCheckWindow> checkWindow = makeWindow(server.address());
    // As a window first shows, before any check; every check that arms nothing ends so.
    const Shown designState = shown(*checkWindow);

    std::unique_ptr<UpdateCheckWindow> makeWindow(const QString& address, std::chrono::milliseconds timeLimit = 5s)
    {
        auto made = std::make_unique<UpdateCheckWindow>(dialogs, address, timeLimit);
        made->show();
        return made;
    }

    // Presses the check button and waits for the check to end, which gives the button back.
    void check(UpdateCheckWindow& window)
    {
        QTest::mouseClick(window.checkButton, Qt::LeftButton);
        EXPECT_TRUE(QTest::qWaitFor([&window] { return window.checkButton->isEnabled(); }, 10000))
            << "the check did not end";
    }

    void expectQuietEnd(UpdateCheckWindow& window, const char* what)
    {
        EXPECT_EQ(shown(window), designState) << what;
        EXPECT_TRUE(dialogs.messages.empty()) << what;
    }
};

TEST_F(UpdateWindowTest, checksOnlyWhenAskedSaysSoWhenThereIsNoUpdateAndClosingOrTheTimeLimitGivesUpTheCheck)
{
    QCoreApplication::processEvents();
    EXPECT_EQ(server.requests, 0);
    EXPECT_TRUE(std::get<1>(designState) && !std::get<2>(designState) && std::get<4>(designState).isEmpty());

    server.respond(200, versionFile("1*6*0*1*6*5"));
    check(*checkWindow);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].icon, QMessageBox::Information);
    dialogs.messages.clear();
    expectQuietEnd(*checkWindow, "no update");

    server.respond(200, versionFile("1*6*0*1*7*0"));
    check(*checkWindow);
    checkWindow->close();
    checkWindow->show();
    expectQuietEnd(*checkWindow, "reopened");
    // A file that decides nothing, here for want of a web address, arms nothing.
    server.respond(200, versionFile("1*6*0*1*7*0", QStringLiteral("http://")));
    check(*checkWindow);
    expectQuietEnd(*checkWindow, "no usable link");

    // Closed while the file is on its way: the check ends at once, nothing is armed.
    server.neverAnswer();
    server.onRequest = [this] { checkWindow->close(); };
    check(*checkWindow);
    EXPECT_FALSE(checkWindow->isVisible());
    expectQuietEnd(*checkWindow, "closed while waiting");

    // The window gives its time limit to the transfer.
    server.onRequest = {};
    auto patient = makeWindow(server.address(), 300ms);
    check(*patient);
    expectQuietEnd(*patient, "no answer within the time limit");
}

// One window checks again and again: each check starts from a reset link and shows that
// it waits; the steps shown are those of the update that applies.
TEST_F(UpdateWindowTest, armsTheLinkForTheUpdateThatApplies)
{
    const struct { const char* file; QString command; const char* suffix; const char* step; } cases[] = {
        {"1*7*0*1*7*0", kSetup, " y", "Setup.exe"},
        {"1*6*0*1*7*0", kZip, " x", "extract"},
    };
    const QString linkCaption = std::get<3>(designState);
    server.onRequest = [&] { // the button shows that it waits
        EXPECT_EQ(shown(*checkWindow), Shown("Please wait...", false, false, linkCaption, {}, {}));
    };
    for (const auto& c : cases) {
        server.respond(200, versionFile(c.file));
        check(*checkWindow);
        const auto [button, checkable, armed, caption, command, steps] = shown(*checkWindow);
        EXPECT_EQ(std::tuple(button, checkable, armed, caption, command),
                  std::tuple(std::get<0>(designState), true, true, linkCaption + c.suffix, c.command)) << c.file;
        EXPECT_TRUE(steps.contains(c.step)) << steps.toStdString();
        EXPECT_TRUE(dialogs.messages.empty()) << c.file;
    }
    // The body would arm the link, so a quiet end shows that an HTTP error gives no text.
    server.respond(404, versionFile("1*6*0*1*7*0"));
    check(*checkWindow);
    expectQuietEnd(*checkWindow, "failed check after an armed one");
    EXPECT_EQ(server.requests, int(std::size(cases)) + 1);
}

// That an HTTP error gives no text is pinned where the update check ends quietly.
TEST(WebTextFetchTest, readsTheBodyAsUtf8AndNoMoreThan64KibAndGivesUpAServerThatNeverAnswers)
{
    LocalHttpServer server;
    WebTextFetch fetcher(10s), impatient(300ms);
    server.respond(200, "caf\xc3\xa9");
    EXPECT_EQ(fetch(fetcher, server.address()), u"caf\u00e9");
    server.respond(200, QByteArray(4 * 1024 * 1024, 'y'));
    const QString text = fetch(fetcher, server.address());
    EXPECT_TRUE(text == QString(WebTextFetch::kMaxSize, u'y')) << text.size(); // EXPECT_EQ would print 64 KiB

    server.neverAnswer();
    EXPECT_TRUE(fetch(impatient, server.address()).isEmpty());
    EXPECT_EQ(server.requests, 3);
    EXPECT_TRUE(fetch(fetcher, LocalHttpServer::refusingAddress()).isEmpty());
    // The fetcher is ready for the next transfer afterwards.
    server.respond(200, "1*6*5");
    EXPECT_EQ(fetch(impatient, server.address()), u"1*6*5");
}

TEST(VersionFileTest, splitsTenFieldsEmptyValuesTakeNoField)
{
    const struct { const char* text; QStringList fields; } cases[] = {
        // An empty value leaves its field free: the next value lands there.
        {"1**6*0*1*7*0*a*b*x*y", {"1", "6", "0", "1", "7", "0", "a", "b", "x", "y"}},
        // Field 10 takes the rest, further "*" included; line ends stay in it.
        {"1*2*3*4*5*6*7*8*9*10*11*12\r\n", {"1", "2", "3", "4", "5", "6", "7", "8", "9", "10*11*12\r\n"}},
        // Missing fields stay empty; the last value always lands in field 10.
        {"1*6*5", {"1", "6", "", "", "", "", "", "", "", "5"}},
    };
    for (const auto& c : cases) {
        const VersionFields fields = splitVersionFile(QString::fromLatin1(c.text));
        EXPECT_EQ(QStringList(fields.begin(), fields.end()), c.fields) << c.text;
    }
}

// The plain case of each outcome, its caption and its steps are checked where the update window shows them.
TEST(VersionFileTest, decidesTheFourOutcomes)
{
    // Each part weighs as one digit, so 1.10.0 counts as 2.0.0.
    EXPECT_EQ(versionNumber(1, 10, 0), 200);
    const struct { const char* versions; UpdateDecision::Outcome outcome; QString command, zip = kZip, setup = kSetup; } cases[] = {
        {"1*6*5*1*7*0", UpdateDecision::ZipUpdate, kZip}, // ours is the oldest the ZIP updates
        {"1*0*0*1*6*0", UpdateDecision::Nothing, {}},
        // Too old for the ZIP update wins even when the newest is ours.
        {"1*7*0*1*6*5", UpdateDecision::FullSetup, kSetup},
        // The newest is rounded to a whole number: 164.6 counts as 165.
        {"1*6*0*1*6*4.6", UpdateDecision::NoUpdate, {}},
        // A newest version beyond any 16-bit number cannot be ours: the file is ignored.
        {"1*6*0*400*0*0", UpdateDecision::Nothing, {}},
        // A link that would open no web page arms nothing, in either field.
        {"1*7*0*1*7*0", UpdateDecision::Nothing, {}, kZip, "javascript:alert(1)"},
        {"1*6*0*1*7*0", UpdateDecision::Nothing, {}, "http://"},
    };
    for (const auto& c : cases) {
        const QByteArray file = versionFile(c.versions, c.zip, c.setup);
        const UpdateDecision decision = decideUpdate(splitVersionFile(QString::fromUtf8(file)), 165);
        EXPECT_EQ(decision.outcome, c.outcome) << c.versions;
        EXPECT_EQ(decision.linkCommand, c.command) << c.versions;
    }
}

TEST(VersionFileTest, onlyWebAddressesMayBeOpened)
{
    const struct { const char* field; const char* address; } cases[] = {
        {"http://velkor.example/u.zip", "http://velkor.example/u.zip"}, {"/usr/bin/xterm", ""},
        {" https://velkor.example/u.zip\r\n", "https://velkor.example/u.zip"}, {"//velkor.example/u.zip", ""},
        {"https://velkor.example/a b.zip", "https://velkor.example/a%20b.zip"}, {"ftp://velkor.example/u.zip", ""},
        {"http://", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(webAddress(QString::fromLatin1(c.field)), QString::fromLatin1(c.address)) << c.field;
}
