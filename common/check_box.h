#pragma once

#include <QCheckBox>

// A check box with the states 0 clear, 1 ticked and 2 greyed. Greyed is only ever
// set by the program; a click moves between clear and ticked.
class CheckBox : public QCheckBox {
    Q_OBJECT
public:
    using QCheckBox::QCheckBox;

    int value() const;
    void setValue(int value);

protected:
    void nextCheckState() override;
};
