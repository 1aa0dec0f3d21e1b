#include "help_windows/info_window.h"

#include "common/flat_button.h"
#include "help_windows/dialog_font.h"

#include <QFile>
#include <QGroupBox>
#include <QPlainTextEdit>

namespace {

QString helpText()
{
    QFile file(QStringLiteral(":/info.txt"));
    file.open(QIODevice::ReadOnly);
    return QString::fromUtf8(file.readAll());
}

} // namespace

Form2::Form2(QWidget* parent)
    : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(QStringLiteral("Info"));
    useDialogFont(this);
    setFixedSize(480, 420);

    Text1 = new QPlainTextEdit(this);
    Text1->setObjectName(QStringLiteral("Text1"));
    Text1->setGeometry(8, 8, 464, 352);
    Text1->setReadOnly(true);
    Text1->setPlainText(helpText());

    Frame1 = new QGroupBox(this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    Frame1->setGeometry(8, 364, 464, 48);
    viewCordScreenshot = new FlatButton(QStringLiteral("&View cord screenshot"), Frame1);
    viewCordScreenshot->setObjectName(QStringLiteral("Command1"));
    viewCordScreenshot->setGeometry(152, 10, 160, 30);
}
