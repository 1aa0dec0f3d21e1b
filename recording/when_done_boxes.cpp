#include "recording/when_done_boxes.h"

#include "common/check_box.h"

#include <QRadioButton>

void connectWhenDoneRules(CheckBox* save, QRadioButton* m3u, QRadioButton* pls,
                          CheckBox* exit, CheckBox* shutdown)
{
    QObject::connect(save, &QCheckBox::stateChanged, save, [=] {
        const bool ticked = save->value() == BoxState::Ticked;
        m3u->setEnabled(ticked);
        pls->setEnabled(ticked);
    });
    QObject::connect(exit, &QCheckBox::stateChanged, exit, [=] {
        if (shutdown->value() == BoxState::Ticked && exit->value() == BoxState::Clear)
            exit->setValue(BoxState::Ticked);
    });
    QObject::connect(shutdown, &QCheckBox::stateChanged, shutdown, [=] {
        if (shutdown->value() == BoxState::Ticked)
            exit->setValue(BoxState::Ticked);
    });
}
