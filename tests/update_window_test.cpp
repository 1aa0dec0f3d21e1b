#include "help_windows/update_window.h"

#include "common/flat_button.h"
#include "common/link_label.h"
#include "support/fake_dialogs.h"
#include "support/local_http_server.h"

#include <QDesktopServices>
#include <QGroupBox>
#include <QLabel>
#include <QTest>
#include <QUrl>
#include <gtest/gtest.h>

using namespace std::chrono_literals;

namespace {

const QString kZip = QStringLiteral("http://velkor.example/trelvik/update.zip");
const QString kSetup = QStringLiteral("https://velkor.example/trelvik/setup.zip");
const QString kLinkCaption = QStringLiteral("Click here to download update");
const QString kSetupSteps = QStringLiteral(
    "When the download is complete: Exit this program and uninstall it. Then open the downloaded ZIP file, and "
    "run the file \"Setup.exe\".");
const QString kZipSteps = QStringLiteral(
    "When the download is complete: Exit this program, open the downloaded ZIP file and extract the zipped file(s) "
    "to this program's directory.");

QByteArray versionFile(const char* versions, const QString& zip = kZip, const QString& setup = kSetup)
{
    return QByteArray(versions) + '*' + zip.toUtf8() + '*' + setup.toUtf8() + "*x*y";
}

} // namespace

// Takes the addresses the desktop would be asked to open.
class OpenedAddresses : public QObject {
    Q_OBJECT
public:
    OpenedAddresses()
    {
        QDesktopServices::setUrlHandler(QStringLiteral("http"), this, "open");
        QDesktopServices::setUrlHandler(QStringLiteral("https"), this, "open");
    }
    ~OpenedAddresses() override
    {
        QDesktopServices::unsetUrlHandler(QStringLiteral("http"));
        QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
    }
    QList<QUrl> opened;
public Q_SLOTS:
    void open(const QUrl& url) { opened << url; }
};

class UpdateWindowTest : public ::testing::Test {
protected:
    FakeDialogs dialogs;
    LocalHttpServer server;
    std::unique_ptr<Form8> form = makeForm(server.address());

    std::unique_ptr<Form8> makeForm(const QString& address, std::chrono::milliseconds timeLimit = 5s)
    {
        auto made = std::make_unique<Form8>(dialogs, address, timeLimit);
        made->show();
        return made;
    }

    // Presses "Click here to check"; it returns when the check is over.
    void check(Form8& window) { QTest::mouseClick(window.checkButton, Qt::LeftButton); }

    void expectQuietEnd(Form8& window, const char* what)
    {
        EXPECT_EQ(window.checkButton->text(), u"Click here to check") << what;
        EXPECT_TRUE(window.checkButton->isEnabled()) << what;
        EXPECT_FALSE(window.LinkLabel1->isEnabled()) << what;
        EXPECT_EQ(window.LinkLabel1->text(), kLinkCaption) << what;
        EXPECT_TRUE(window.LinkLabel1->command.isEmpty()) << what;
        EXPECT_TRUE(window.Label1->text().isEmpty()) << what;
        EXPECT_TRUE(dialogs.messages.empty()) << what;
    }
};

TEST_F(UpdateWindowTest, opensInItsDesignStateAndChecksOnlyWhenAsked)
{
    EXPECT_EQ(form->objectName(), u"Form8");
    EXPECT_EQ(form->windowTitle(), u"Check for product update");
    QCoreApplication::processEvents();
    EXPECT_EQ(server.requests, 0);
    expectQuietEnd(*form, "design state");
}

TEST_F(UpdateWindowTest, saysSoWhenThereIsNoUpdate)
{
    server.respond(200, versionFile("1*6*0*1*6*5"));
    check(*form);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text, u"Sorry, no update availabe at this time.");
    EXPECT_EQ(dialogs.messages[0].title, u"Trelvik");
    EXPECT_EQ(dialogs.messages[0].icon, QMessageBox::Information);
    EXPECT_FALSE(form->LinkLabel1->isEnabled());
    EXPECT_TRUE(form->Label1->text().isEmpty());
    EXPECT_EQ(form->checkButton->text(), u"Click here to check");
    EXPECT_TRUE(form->checkButton->isEnabled());
}

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
        // The empty second value takes no field: 7 is the minor of the oldest version.
        {"1**7*0*1*7*0", kSetup, kLinkCaption + QStringLiteral(" y"), kSetupSteps},
    };
    for (const auto& c : cases) {
        server.respond(200, versionFile(c.file));
        check(*form);
        EXPECT_TRUE(form->LinkLabel1->isEnabled()) << c.file;
        EXPECT_EQ(form->LinkLabel1->command, c.command) << c.file;
        EXPECT_EQ(form->LinkLabel1->text(), c.caption) << c.file;
        EXPECT_EQ(form->Label1->text(), c.steps) << c.file;
        EXPECT_TRUE(form->checkButton->isEnabled()) << c.file;
        EXPECT_TRUE(dialogs.messages.empty()) << c.file;
    }
}

TEST_F(UpdateWindowTest, theArmedLinkOpensOnlyItsWebAddress)
{
    OpenedAddresses desktop;
    server.respond(200, versionFile("1*6*0*1*7*0"));
    check(*form);
    QTest::mouseClick(form->LinkLabel1, Qt::LeftButton);
    ASSERT_EQ(desktop.opened.size(), 1);
    EXPECT_EQ(desktop.opened[0], QUrl(kZip));
}

TEST_F(UpdateWindowTest, endsQuietlyWhenNothingUsableArrives)
{
    const struct {
        const char* what;
        int status;
        QByteArray body;
    } cases[] = {
        {"newer than the server's", 200, versionFile("1*0*0*1*6*0")},
        {"no star at all", 200, "Trelvik 1.7.0 is out"},
        {"empty file", 200, ""},
        {"not found", 404, versionFile("1*6*0*1*7*0")},
        {"server error", 500, versionFile("1*6*0*1*7*0")},
    };
    for (const auto& c : cases) {
        server.respond(c.status, c.body);
        check(*form);
        expectQuietEnd(*form, c.what);
    }

    auto refused = makeForm(LocalHttpServer::refusingAddress());
    check(*refused);
    expectQuietEnd(*refused, "connection refused");

    server.neverAnswer();
    auto patient = makeForm(server.address(), 300ms);
    check(*patient);
    expectQuietEnd(*patient, "no answer within the time limit");
}

TEST_F(UpdateWindowTest, neverArmsTheLinkWithAnythingButAWebAddress)
{
    for (const char* unsafe : {"file:///bin/sh", "/usr/bin/xterm", "setup.exe", "javascript:alert(1)", "http://"}) {
        const QString address = QString::fromLatin1(unsafe);
        server.respond(200, versionFile("1*7*0*1*7*0", kZip, address)); // too old: field 8
        check(*form);
        expectQuietEnd(*form, unsafe);
        server.respond(200, versionFile("1*6*0*1*7*0", address, kSetup)); // ZIP update: field 7
        check(*form);
        expectQuietEnd(*form, unsafe);
    }
    // "1*7*0*1*7*0*zip**x*y": the empty setup field takes no place, "x" moves into it.
    server.respond(200, QByteArray("1*7*0*1*7*0*") + kZip.toUtf8() + "**x*y");
    check(*form);
    expectQuietEnd(*form, "empty setup address");
}

TEST_F(UpdateWindowTest, showsThatItWaitsWhileTheFileArrives)
{
    server.respond(200, versionFile("1*6*0*1*7*0"));
    check(*form); // arms the link
    bool seen = false;
    server.onRequest = [&] {
        seen = true;
        EXPECT_EQ(form->checkButton->text(), u"Please wait...");
        EXPECT_FALSE(form->checkButton->isEnabled());
        EXPECT_FALSE(form->LinkLabel1->isEnabled());
        EXPECT_EQ(form->LinkLabel1->text(), kLinkCaption);
        EXPECT_TRUE(form->Label1->text().isEmpty());
    };
    check(*form);
    EXPECT_TRUE(seen);
}

TEST_F(UpdateWindowTest, aSecondCheckStartsFromAResetLink)
{
    server.respond(200, versionFile("1*6*0*1*7*0"));
    check(*form);
    check(*form);
    EXPECT_EQ(form->LinkLabel1->text(), kLinkCaption + QStringLiteral(" x")); // no second suffix

    server.respond(200, versionFile("1*7*0*1*7*0"));
    check(*form);
    EXPECT_EQ(form->LinkLabel1->text(), kLinkCaption + QStringLiteral(" y"));
    EXPECT_EQ(form->LinkLabel1->command, kSetup);

    server.respond(404, "");
    check(*form);
    expectQuietEnd(*form, "failed second check");
}

TEST_F(UpdateWindowTest, closingGivesUpTheCheckAndReopensAsDesigned)
{
    server.respond(200, versionFile("1*6*0*1*7*0"));
    check(*form);
    form->close();
    form->show();
    expectQuietEnd(*form, "reopened");

    // Closed while the file is on its way: the check ends at once, nothing is armed.
    server.neverAnswer();
    server.onRequest = [this] { form->close(); };
    check(*form);
    EXPECT_FALSE(form->isVisible());
    expectQuietEnd(*form, "closed while waiting");
}

#include "update_window_test.moc"
