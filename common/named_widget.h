#pragma once

#include <QString>
#include <QWidget>

// A control named for tests and accessibility tools: its object name, and the name
// a screen reader reads out.
template <typename Widget>
Widget* named(Widget* widget, const char* objectName, const QString& accessibleName)
{
    widget->setObjectName(QLatin1String(objectName));
    widget->setAccessibleName(accessibleName);
    return widget;
}
