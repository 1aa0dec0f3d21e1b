#pragma once

class CheckBox;
class FlatButton;
class LinkLabel;
class PercentBar;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QRadioButton;
class QTreeView;
class QWidget;
class UpDownControl;

// The controls of the main window, named as the window's design names them.
struct Form1Controls {
    QGroupBox* Frame1;
    QTreeView* ListView1;
    UpDownControl* UpDown1;
    FlatButton* addFiles;
    FlatButton* clearList;
    FlatButton* shuffle;
    FlatButton* startRecording;
    FlatButton* stopRecording;
    FlatButton* loadPlaylist;
    FlatButton* savePlaylist;

    QLabel* Label1;
    QLineEdit* Text1;
    QLabel* Label2;

    QGroupBox* Frame2;
    QLabel* Label5;
    QLabel* Label3;
    PercentBar* ProgressBar1;
    QLabel* Label4;
    PercentBar* ProgressBar2;

    QGroupBox* Frame3;
    QPlainTextEdit* Text2;
    FlatButton* volumeControl;

    QGroupBox* Frame4;
    CheckBox* Check1;
    QRadioButton* Option1;
    QRadioButton* Option2;
    CheckBox* Check2;
    CheckBox* Check3;

    FlatButton* info;
    FlatButton* checkForUpdate;
    LinkLabel* LinkLabel1;
};

// Creates every control of the main window at its place, with its caption.
void buildForm1(QWidget* form, Form1Controls& ui);
