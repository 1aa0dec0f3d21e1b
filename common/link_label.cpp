#include "common/link_label.h"

#include <QDesktopServices>
#include <QMouseEvent>
#include <QUrl>

namespace {

const QColor kLinkColor(128, 0, 0);
const QColor kActiveColor(255, 0, 0);

} // namespace

LinkLabel::LinkLabel(const QString& caption, QWidget* parent)
    : QLabel(caption, parent)
{
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::TabFocus);
    QPalette p = palette();
    p.setColor(QPalette::Disabled, QPalette::WindowText, QColor(128, 128, 128));
    setPalette(p);
    showColor(kLinkColor);
}

void LinkLabel::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        showColor(kActiveColor); // bright while being clicked, as links are
    QLabel::mousePressEvent(event);
}

void LinkLabel::mouseReleaseEvent(QMouseEvent* event)
{
    showColor(kLinkColor);
    if (event->button() == Qt::LeftButton && isEnabled() && rect().contains(event->position().toPoint()))
        QDesktopServices::openUrl(QUrl::fromUserInput(command));
    QLabel::mouseReleaseEvent(event);
}

void LinkLabel::enterEvent(QEnterEvent* event)
{
    setUnderlined(true);
    QLabel::enterEvent(event);
}

void LinkLabel::leaveEvent(QEvent* event)
{
    setUnderlined(false);
    QLabel::leaveEvent(event);
}

void LinkLabel::setUnderlined(bool underlined)
{
    QFont f = font();
    f.setUnderline(underlined);
    setFont(f);
}

// Whether the window has the focus or not: Qt's Active group would otherwise
// show the link bright red all the time its window is in front.
void LinkLabel::showColor(const QColor& color)
{
    QPalette p = palette();
    p.setColor(QPalette::Active, QPalette::WindowText, color);
    p.setColor(QPalette::Inactive, QPalette::WindowText, color);
    setPalette(p);
}
