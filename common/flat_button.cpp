#include "common/flat_button.h"

#include <QEnterEvent>

FlatButton::FlatButton(const QString& caption, QWidget* parent)
    : QPushButton(caption, parent)
{
    setFlat(true);
    setAutoFillBackground(true);
    showColor(m_captionColor);
}

void FlatButton::setCaptionColor(const QColor& color)
{
    m_captionColor = color;
    if (!m_hovered)
        showColor(color);
}

void FlatButton::enterEvent(QEnterEvent* event)
{
    m_hovered = true;
    showColor(Qt::red);
    QPushButton::enterEvent(event);
}

void FlatButton::leaveEvent(QEvent* event)
{
    m_hovered = false;
    showColor(m_captionColor);
    QPushButton::leaveEvent(event);
}

void FlatButton::showColor(const QColor& color)
{
    QPalette p = palette();
    for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
        p.setColor(group, QPalette::ButtonText, color);
    setPalette(p);
}

void switchButtonsOff(const QList<FlatButton*>& buttons)
{
    for (FlatButton* button : buttons)
        button->setCaptionColor(QColor(0x80, 0x80, 0x80));
    for (FlatButton* button : buttons)
        button->setEnabled(false);
}

void switchButtonsOn(const QList<FlatButton*>& buttons)
{
    for (FlatButton* button : buttons)
        button->setEnabled(true);
    for (FlatButton* button : buttons)
        button->setCaptionColor(Qt::black);
}
