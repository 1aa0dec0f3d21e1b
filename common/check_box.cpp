#include "common/check_box.h"

BoxState CheckBox::value() const
{
    switch (checkState()) {
    case Qt::Checked:
        return BoxState::Ticked;
    case Qt::PartiallyChecked:
        return BoxState::Greyed;
    default:
        return BoxState::Clear;
    }
}

void CheckBox::setValue(BoxState value)
{
    setCheckState(value == BoxState::Ticked   ? Qt::Checked
                  : value == BoxState::Greyed ? Qt::PartiallyChecked
                                              : Qt::Unchecked);
}

void CheckBox::nextCheckState()
{
    setCheckState(checkState() == Qt::Checked ? Qt::Unchecked : Qt::Checked);
}
