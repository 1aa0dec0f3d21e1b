#include "help_windows/update_window.h"

#include "common/dialogs.h"
#include "common/flat_button.h"
#include "common/link_label.h"
#include "help_windows/dialog_font.h"
#include "help_windows/version_file.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QGroupBox>
#include <QLabel>
#include <QPointer>

namespace {

const QString kCheckCaption = QStringLiteral("Click here to check");
const QString kLinkCaption = QStringLiteral("Click here to download update");

} // namespace

Form8::Form8(Dialogs& dialogs, const QString& versionFileAddress, std::chrono::milliseconds timeLimit,
             QWidget* parent)
    : QWidget(parent, Qt::Window)
    , m_dialogs(dialogs)
    , m_versionFileAddress(versionFileAddress)
    , m_fetch(timeLimit)
{
    setObjectName(QStringLiteral("Form8"));
    setWindowTitle(QStringLiteral("Check for product update"));
    useDialogFont(this);
    setFixedSize(360, 176);

    Frame1 = new QGroupBox(this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    Frame1->setGeometry(8, 4, 344, 164);
    checkButton = new FlatButton(kCheckCaption, Frame1);
    checkButton->setObjectName(QStringLiteral("Command1"));
    checkButton->setGeometry(12, 16, 320, 30);
    LinkLabel1 = new LinkLabel(kLinkCaption, Frame1);
    LinkLabel1->setObjectName(QStringLiteral("LinkLabel1"));
    LinkLabel1->setGeometry(12, 56, 320, 32);
    LinkLabel1->setWordWrap(true);
    LinkLabel1->setTextFormat(Qt::PlainText); // the caption's suffix comes from the network
    LinkLabel1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Label1 = new QLabel(Frame1);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setGeometry(12, 94, 320, 60);
    Label1->setWordWrap(true);
    Label1->setTextFormat(Qt::PlainText);
    Label1->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    showDesignState();
    connect(checkButton, &QPushButton::clicked, this, &Form8::check);
}

void Form8::showDesignState()
{
    checkButton->setText(kCheckCaption);
    checkButton->setEnabled(true);
    LinkLabel1->setText(kLinkCaption);
    LinkLabel1->command.clear();
    LinkLabel1->setEnabled(false);
    Label1->clear();
}

void Form8::check()
{
    LinkLabel1->setText(kLinkCaption);
    LinkLabel1->command.clear();
    Label1->clear();
    checkButton->setText(QStringLiteral("Please wait..."));
    checkButton->setEnabled(false);
    LinkLabel1->setEnabled(false);

    // The window stays responsive while the file arrives; it may even be destroyed.
    const QPointer<Form8> alive(this);
    m_fetch.openUrl(m_versionFileAddress);
    while (alive && m_fetch.stillExecuting())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    if (!alive)
        return;
    const QString text = m_fetch.text();

    checkButton->setText(kCheckCaption);
    checkButton->setEnabled(true);
    if (text.isEmpty())
        return;

    const UpdateDecision decision = decideUpdate(splitVersionFile(text), ownVersionNumber());
    switch (decision.outcome) {
    case UpdateDecision::NoUpdate:
        m_dialogs.message(this, QStringLiteral("Sorry, no update availabe at this time."),
                          QStringLiteral("Trelvik"), QMessageBox::Information);
        break;
    case UpdateDecision::FullSetup:
    case UpdateDecision::ZipUpdate:
        LinkLabel1->command = decision.linkCommand;
        LinkLabel1->setEnabled(true);
        LinkLabel1->setText(LinkLabel1->text() + u' ' + decision.captionSuffix);
        Label1->setText(decision.instructions);
        break;
    case UpdateDecision::Nothing:
        break;
    }
}

void Form8::closeEvent(QCloseEvent* event)
{
    m_fetch.cancel();
    showDesignState();
    event->accept();
}
