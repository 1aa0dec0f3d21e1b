#include "help_windows/cord_window.h"

#include <QLabel>
#include <QPixmap>

CordWindow::CordWindow(QWidget* parent)
    : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("Form4"));
    setWindowTitle(QStringLiteral("Cord screenshot"));
    setFixedSize(339, 433);
    cordPicture = new QLabel(this);
    cordPicture->setObjectName(QStringLiteral("Image1"));
    cordPicture->setPixmap(QPixmap(QStringLiteral(":/cord.jpg")));
    cordPicture->setGeometry(rect());
}
