#include "playlist/default_gap.h"

#include "common/number_text.h"

double takeDefaultGap(QString& text)
{
    if (leadingNumber(text) > 32)
        text = QStringLiteral("2");
    return leadingNumber(text);
}
