#include "help_windows/update_window.h"

#include "common/flat_button.h"
#include "common/link_label.h"
#include "support/fake_dialogs.h"
#include "support/local_http_server.h"
#include "support/qt_printers.h"

#include <QLabel>
#include <QTest>
#include <gtest/gtest.h>
#include <tuple>

using namespace std::chrono_literals;

namespace {

const QString kZip = QStringLiteral("http://velkor.example/trelvik/update.zip");
const QString kSetup = QStringLiteral("https://velkor.example/trelvik/setup.zip");
const QString kCheckCaption = QStringLiteral("Click here to check");
const QString kLinkCaption = QStringLiteral("Click here to download update");
const QString kSetupSteps = QStringLiteral(
    "When the download is complete: Exit this program and uninstall it. Then open the downloaded ZIP file, and "
    "run the file \"Setup.exe\".");
const QString kZipSteps = QStringLiteral(
    "When the download is complete: Exit this program, open the downloaded ZIP file and extract the zipped file(s) "
    "to this program's directory.");

// What the window shows: the check button's caption and whether it is enabled, whether
// the link is, its caption and address, and the steps under it.
using Shown = std::tuple<QString, bool, bool, QString, QString, QString>;

Shown shown(const UpdateCheckWindow& w)
{
    return {w.checkButton->text(), w.checkButton->isEnabled(), w.downloadLink->isEnabled(), w.downloadLink->text(),
            w.downloadLink->command, w.instructionsLabel->text()};
}

const Shown kDesignState{kCheckCaption, true, false, kLinkCaption, {}, {}};

QByteArray versionFile(const char* versions, const QString& zip = kZip, const QString& setup = kSetup)
{
    return QByteArray(versions) + '*' + zip.toUtf8() + '*' + setup.toUtf8() + "*x*y";
}

} // namespace

class UpdateWindowTest : public ::testing::Test {
protected:
    FakeDialogs dialogs;
    LocalHttpServer server;
    std::unique_ptr<UpdateCheckWindow> checkWindow = makeWindow(server.address());

    std::unique_ptr<UpdateCheckWindow> makeWindow(const QString& address, std::chrono::milliseconds timeLimit = 5s)
    {
        auto made = std::make_unique<UpdateCheckWindow>(dialogs, address, timeLimit);
        made->show();
        return made;
    }

    // Presses "Click here to check" and waits for the check to end, which gives the button back.
    void check(UpdateCheckWindow& window)
    {
        QTest::mouseClick(window.checkButton, Qt::LeftButton);
        EXPECT_TRUE(QTest::qWaitFor([&window] { return window.checkButton->isEnabled(); }, 10000))
            << "the check did not end";
    }

    void expectQuietEnd(UpdateCheckWindow& window, const char* what)
    {
        EXPECT_EQ(shown(window), kDesignState) << what;
        EXPECT_TRUE(dialogs.messages.empty()) << what;
    }
};

TEST_F(UpdateWindowTest, checksOnlyWhenAskedAndSaysSoWhenThereIsNoUpdate)
{
    QCoreApplication::processEvents();
    EXPECT_EQ(server.requests, 0);
    expectQuietEnd(*checkWindow, "design state");

    server.respond(200, versionFile("1*6*0*1*6*5"));
    check(*checkWindow);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text, u"Sorry, no update availabe at this time.");
    EXPECT_EQ(dialogs.messages[0].title, u"Trelvik");
    EXPECT_EQ(dialogs.messages[0].icon, QMessageBox::Information);
    dialogs.messages.clear();
    expectQuietEnd(*checkWindow, "no update");
}

// One window checks again and again: each check starts from a reset link and shows that it waits.
TEST_F(UpdateWindowTest, armsTheLinkForTheUpdateThatApplies)
{
    const struct {
        const char* file;
        QString command;
        QString caption;
        QString steps;
    } cases[] = {
        {"1*7*0*1*7*0", kSetup, kLinkCaption + QStringLiteral(" y"), kSetupSteps},
        {"1*6*0*1*7*0", kZip, kLinkCaption + QStringLiteral(" x"), kZipSteps},
    };
    server.onRequest = [this] {
        EXPECT_EQ(shown(*checkWindow), Shown(QStringLiteral("Please wait..."), false, false, kLinkCaption, {}, {}));
    };
    for (const auto& c : cases) {
        server.respond(200, versionFile(c.file));
        check(*checkWindow);
        EXPECT_EQ(shown(*checkWindow), Shown(kCheckCaption, true, true, c.caption, c.command, c.steps)) << c.file;
        EXPECT_TRUE(dialogs.messages.empty()) << c.file;
    }
    // The body would arm the link, so a quiet end shows that an HTTP error gives no text.
    server.respond(404, versionFile("1*6*0*1*7*0"));
    check(*checkWindow);
    expectQuietEnd(*checkWindow, "failed check after an armed one");
    EXPECT_EQ(server.requests, int(std::size(cases)) + 1);
}

TEST_F(UpdateWindowTest, endsQuietlyWhenNothingUsableArrives)
{
    // The link opens web addresses only, in either field; which ones is pinned in version_file_test.
    for (const QByteArray& body : {versionFile("1*7*0*1*7*0", kZip, QStringLiteral("javascript:alert(1)")),
                                   versionFile("1*6*0*1*7*0", QStringLiteral("http://"), kSetup)}) {
        server.respond(200, body);
        check(*checkWindow);
        expectQuietEnd(*checkWindow, body.constData());
    }

    auto refused = makeWindow(LocalHttpServer::refusingAddress());
    check(*refused);
    expectQuietEnd(*refused, "connection refused");

    server.neverAnswer();
    auto patient = makeWindow(server.address(), 300ms);
    check(*patient);
    expectQuietEnd(*patient, "no answer within the time limit");
}

TEST_F(UpdateWindowTest, closingGivesUpTheCheckAndReopensAsDesigned)
{
    server.respond(200, versionFile("1*6*0*1*7*0"));
    check(*checkWindow);
    checkWindow->close();
    checkWindow->show();
    expectQuietEnd(*checkWindow, "reopened");

    // Closed while the file is on its way: the check ends at once, nothing is armed.
    server.neverAnswer();
    server.onRequest = [this] { checkWindow->close(); };
    check(*checkWindow);
    EXPECT_FALSE(checkWindow->isVisible());
    expectQuietEnd(*checkWindow, "closed while waiting");
}
