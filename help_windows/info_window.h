#pragma once

#include <QWidget>

class FlatButton;
class QGroupBox;
class QPlainTextEdit;

// "Info" (Form2): the program's help text and the way to the cord picture.
class InfoWindow : public QWidget {
    Q_OBJECT
public:
    explicit InfoWindow(QWidget* parent = nullptr);

    QPlainTextEdit* helpTextBox;
    QGroupBox* buttonFrame;
    FlatButton* viewCordScreenshot; // "&View cord screenshot"
};
