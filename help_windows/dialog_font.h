#pragma once

#include <QFont>
#include <QWidget>

// The design's 8-point dialog font at 96 dpi, for the helper windows as for the main one.
inline void useDialogFont(QWidget* window)
{
    QFont small = window->font();
    small.setPixelSize(11);
    window->setFont(small);
}
