#include "common/up_down_control.h"

#include <QToolButton>

UpDownControl::UpDownControl(QWidget* parent)
    : QWidget(parent)
    , m_up(new QToolButton(this))
    , m_down(new QToolButton(this))
{
    m_up->setArrowType(Qt::UpArrow);
    m_down->setArrowType(Qt::DownArrow);
    m_up->setObjectName(QStringLiteral("UpDown1Up"));
    m_down->setObjectName(QStringLiteral("UpDown1Down"));
    m_up->setAccessibleName(QStringLiteral("Move up"));
    m_down->setAccessibleName(QStringLiteral("Move down"));
    connect(m_up, &QToolButton::clicked, this, &UpDownControl::upClicked);
    connect(m_down, &QToolButton::clicked, this, &UpDownControl::downClicked);
}

void UpDownControl::resizeEvent(QResizeEvent*)
{
    const int half = height() / 2;
    m_up->setGeometry(0, 0, width(), half);
    m_down->setGeometry(0, half, width(), height() - half);
}
