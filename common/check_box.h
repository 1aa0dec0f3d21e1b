#pragma once

#include "common/box_state.h"

#include <QCheckBox>

// A check box that is clear, ticked or greyed. Greyed is only ever set by the
// program; a click moves between clear and ticked.
class CheckBox : public QCheckBox {
    Q_OBJECT
public:
    using QCheckBox::QCheckBox;

    BoxState value() const;
    void setValue(BoxState value);

protected:
    void nextCheckState() override;
};
