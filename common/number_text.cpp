#include "common/number_text.h"

#include "common/failure.h"

#include <QLocale>
#include <cfloat>
#include <cmath>
#include <string>

namespace {

bool isIgnored(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\n';
}

bool isDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

// Index of the next character that counts, from position i on.
qsizetype nextCounted(QStringView text, qsizetype i)
{
    while (i < text.size() && isIgnored(text[i]))
        ++i;
    return i;
}

} // namespace

double leadingNumber(QStringView text)
{
    std::string number;
    qsizetype i = nextCounted(text, 0);
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) {
        number += char(text[i].unicode());
        i = nextCounted(text, i + 1);
    }
    bool point = false;
    bool digits = false;
    while (i < text.size()) {
        const QChar c = text[i];
        if (isDigit(c)) {
            digits = true;
        } else if (c == u'.' && !point) {
            point = true;
        } else {
            break;
        }
        number += char(c.unicode());
        i = nextCounted(text, i + 1);
    }
    if (!digits)
        return 0;
    if (i < text.size() && QStringView(u"EeDd").contains(text[i])) {
        // The exponent counts only when digits follow it.
        std::string exponent = "e";
        qsizetype j = nextCounted(text, i + 1);
        if (j < text.size() && (text[j] == u'+' || text[j] == u'-')) {
            exponent += char(text[j].unicode());
            j = nextCounted(text, j + 1);
        }
        bool exponentDigits = false;
        while (j < text.size() && isDigit(text[j])) {
            exponentDigits = true;
            exponent += char(text[j].unicode());
            j = nextCounted(text, j + 1);
        }
        if (exponentDigits)
            number += exponent;
    }
    // Not strtod: it follows the C library's locale, where "1.5" can read as 1.
    const double value = QLocale::c().toDouble(QString::fromStdString(number));
    // Keep every figure finite: a huge exponent reads as the largest number.
    if (std::isinf(value))
        return value > 0 ? DBL_MAX : -DBL_MAX;
    return value;
}

qint16 toInt16(double value)
{
    const double rounded = std::nearbyint(value); // the default rounding mode is half to even
    if (!(rounded >= -32768 && rounded <= 32767))
        throw Failure(QStringLiteral("Overflow"));
    return qint16(rounded);
}

QString plainNumber(double value)
{
    if (value == 0)
        return QStringLiteral("0"); // also for -0
    QString text = QString::number(value, 'g', 15);
    return text.replace(u'e', u'E');
}

QString printNumber(double value)
{
    const QString plain = plainNumber(value);
    return value < 0 ? plain : u' ' + plain;
}
