#pragma once

#include <QString>
#include <QStringView>

// Numbers read from and written to text, the same way everywhere in the program.

// The number a text begins with: blanks, tabs and line feeds are ignored wherever
// they stand, then an optional sign, digits with "." as decimal point and an
// optional exponent (E or D). A text that does not begin with a number reads as 0.
double leadingNumber(QStringView text);

// Round half to even into a 16-bit integer; outside its range a Failure "Overflow".
qint16 toInt16(double value);

// The plain form: no blanks, no trailing zeros ("3", "2000", "1.5", "-2").
QString plainNumber(double value);

// The print form: a blank in place of the sign of a number that is not negative (" 1").
QString printNumber(double value);
