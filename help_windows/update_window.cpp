#include "help_windows/update_window.h"

#include "common/dialogs.h"
#include "common/flat_button.h"
#include "common/link_label.h"
#include "help_windows/dialog_font.h"
#include "help_windows/version_file.h"

#include <QCloseEvent>
#include <QGroupBox>
#include <QLabel>

namespace {

const QString kCheckCaption = QStringLiteral("Click here to check");
const QString kLinkCaption = QStringLiteral("Click here to download update");

} // namespace

UpdateCheckWindow::UpdateCheckWindow(Dialogs& dialogs, const QString& versionFileAddress,
                                     std::chrono::milliseconds timeLimit, QWidget* parent)
    : QWidget(parent, Qt::Window)
    , m_dialogs(dialogs)
    , m_versionFileAddress(versionFileAddress)
    , m_fetch(timeLimit)
{
    setObjectName(QStringLiteral("Form8"));
    setWindowTitle(QStringLiteral("Check for product update"));
    useDialogFont(this);
    setFixedSize(360, 176);

    controlsFrame = new QGroupBox(this);
    controlsFrame->setObjectName(QStringLiteral("Frame1"));
    controlsFrame->setGeometry(8, 4, 344, 164);
    checkButton = new FlatButton(kCheckCaption, controlsFrame);
    checkButton->setObjectName(QStringLiteral("Command1"));
    checkButton->setGeometry(12, 16, 320, 30);
    downloadLink = new LinkLabel(kLinkCaption, controlsFrame);
    downloadLink->setObjectName(QStringLiteral("LinkLabel1"));
    downloadLink->setGeometry(12, 56, 320, 32);
    downloadLink->setWordWrap(true);
    downloadLink->setTextFormat(Qt::PlainText); // the caption's suffix comes from the network
    downloadLink->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    instructionsLabel = new QLabel(controlsFrame);
    instructionsLabel->setObjectName(QStringLiteral("Label1"));
    instructionsLabel->setGeometry(12, 94, 320, 60);
    instructionsLabel->setWordWrap(true);
    instructionsLabel->setTextFormat(Qt::PlainText);
    instructionsLabel->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    showDesignState();
    connect(checkButton, &QPushButton::clicked, this, &UpdateCheckWindow::check);
    connect(&m_fetch, &WebTextFetch::finished, this, &UpdateCheckWindow::finishCheck);
}

void UpdateCheckWindow::showDesignState()
{
    checkButton->setText(kCheckCaption);
    checkButton->setEnabled(true);
    downloadLink->setText(kLinkCaption);
    downloadLink->command.clear();
    downloadLink->setEnabled(false);
    instructionsLabel->clear();
}

void UpdateCheckWindow::check()
{
    downloadLink->setText(kLinkCaption);
    downloadLink->command.clear();
    instructionsLabel->clear();
    checkButton->setText(QStringLiteral("Please wait..."));
    checkButton->setEnabled(false);
    downloadLink->setEnabled(false);
    m_fetch.openUrl(m_versionFileAddress);
}

// The version file has arrived, or the transfer failed or was given up.
void UpdateCheckWindow::finishCheck()
{
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
        downloadLink->command = decision.linkCommand;
        downloadLink->setEnabled(true);
        downloadLink->setText(downloadLink->text() + u' ' + decision.captionSuffix);
        instructionsLabel->setText(decision.instructions);
        break;
    case UpdateDecision::Nothing:
        break;
    }
}

void UpdateCheckWindow::closeEvent(QCloseEvent* event)
{
    m_fetch.cancel();
    showDesignState();
    event->accept();
}
