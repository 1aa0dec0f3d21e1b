#include "playlist/default_gap.h"

#include "common/number_text.h"

#include <QLineEdit>

double takeDefaultGap(QLineEdit& box)
{
    if (leadingNumber(box.text()) > 32)
        box.setText(QStringLiteral("2"));
    return leadingNumber(box.text());
}
