#pragma once

class QLineEdit;

// The default gap in seconds that an added entry gets, read from the default gap box
// by the leading-number rule. A value over 32 seconds is taken as a slip: the box
// then reads "2" and the gap is 2. There is no lower bound.
double takeDefaultGap(QLineEdit& box);
