#include "help_windows/cord_window.h"

#include <QLabel>
#include <QPixmap>

Form4::Form4(QWidget* parent)
    : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("Form4"));
    setWindowTitle(QStringLiteral("Cord screenshot"));
    setFixedSize(339, 433);
    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setPixmap(QPixmap(QStringLiteral(":/cord.jpg")));
    Image1->setGeometry(rect());
}
