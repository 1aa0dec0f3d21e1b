#include "app/splash_window.h"

#include "common/resources.h"
#include "common/version.h"

#include <QFontMetricsF>
#include <QLabel>
#include <QPainter>
#include <QPixmap>

namespace {

// The picture leaves the version out, so that the build's number is the one shown:
// it goes below the name, centred on it, in the picture's small type. It stays as
// faint as the picture once drew it.
QPixmap pictureWithVersion()
{
    QPixmap picture(QStringLiteral(":/splash.png"));
    QFont font;
    font.setFamilies({QStringLiteral("DejaVu Sans"), QStringLiteral("sans-serif")});
    font.setPixelSize(8);
    const QString version =
        QStringLiteral("v%1.%2.%3").arg(kVersionMajor).arg(kVersionMinor).arg(kVersionRevision);
    QPainter painter(&picture);
    painter.setFont(font);
    painter.setPen(QColor(0x37, 0x3b, 0x43));
    painter.drawText(QPointF(94 - QFontMetricsF(font).horizontalAdvance(version) / 2, 50), version);
    return picture;
}

} // namespace

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
    picture->setPixmap(pictureWithVersion());
    picture->setGeometry(rect());
}
