#include "help_windows/info_window.h"

#include "common/flat_button.h"
#include "help_windows/dialog_font.h"

#include <QFile>
#include <QGroupBox>
#include <QPlainTextEdit>

namespace {

QString readHelpText()
{
    QFile file(QStringLiteral(":/info.txt"));
    file.open(QIODevice::ReadOnly);
    return QString::fromUtf8(file.readAll());
}

} // namespace

InfoWindow::InfoWindow(QWidget* parent)
    : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(QStringLiteral("Info"));
    useDialogFont(this);
    setFixedSize(480, 420);

    helpTextBox = new QPlainTextEdit(this);
    helpTextBox->setObjectName(QStringLiteral("Text1"));
    helpTextBox->setGeometry(8, 8, 464, 352);
    helpTextBox->setReadOnly(true);
    helpTextBox->setPlainText(readHelpText());

    buttonFrame = new QGroupBox(this);
    buttonFrame->setObjectName(QStringLiteral("Frame1"));
    buttonFrame->setGeometry(8, 364, 464, 48);
    viewCordScreenshot = new FlatButton(QStringLiteral("&View cord screenshot"), buttonFrame);
    viewCordScreenshot->setObjectName(QStringLiteral("Command1"));
    viewCordScreenshot->setGeometry(152, 10, 160, 30);
}
