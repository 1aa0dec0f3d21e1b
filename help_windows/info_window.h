#pragma once

#include <QWidget>

class FlatButton;
class QGroupBox;
class QPlainTextEdit;

// Form2, "Info": the program's help text and the way to the cord picture.
class Form2 : public QWidget {
    Q_OBJECT
public:
    explicit Form2(QWidget* parent = nullptr);

    QPlainTextEdit* Text1;
    QGroupBox* Frame1;
    FlatButton* viewCordScreenshot; // "&View cord screenshot"
};
