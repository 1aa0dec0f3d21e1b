#include "app/splash_window.h"

#include "common/resources.h"

#include <QLabel>
#include <QPixmap>

SplashWindow::SplashWindow(QWidget* parent)
    : QWidget(parent)
{
    loadResources();
    setObjectName(QStringLiteral("Form6"));
    setWindowTitle(QStringLiteral("Initializing..."));
    setAttribute(Qt::WA_DeleteOnClose);
    setFixedSize(135, 75); // 2025 × 1125 twips
    auto* picture = new QLabel(this);
    picture->setObjectName(QStringLiteral("Image1"));
    picture->setPixmap(QPixmap(QStringLiteral(":/splash.png")));
    picture->setGeometry(rect());
}
