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

// The controls of the main window; each has its design name (Label5, Check1 ...) as its object name.
struct MainWindowControls {
    QGroupBox* playlistFrame;
    QTreeView* playlistView;
    UpDownControl* moveButtons;
    FlatButton* addFiles;
    FlatButton* clearList;
    FlatButton* shuffle;
    FlatButton* startRecording;
    FlatButton* stopRecording;
    FlatButton* loadPlaylist;
    FlatButton* savePlaylist;
    FlatButton* recorder; // not in the design: opens the recorder window

    QLabel* defaultGapLabel;
    QLineEdit* defaultGapEdit;
    QLabel* totalTimeLabel;

    QGroupBox* statusFrame;
    QLabel* nowPlayingLabel;
    QLabel* trackLeftLabel;
    PercentBar* trackProgressBar;
    QLabel* totalLeftLabel;
    PercentBar* totalProgressBar;

    QGroupBox* hotKeysFrame;
    QPlainTextEdit* hotKeysText;
    FlatButton* volumeControl;

    QGroupBox* whenDoneFrame;
    CheckBox* saveWhenDoneBox;
    QRadioButton* m3uOption;
    QRadioButton* plsOption;
    CheckBox* exitWhenDoneBox;
    CheckBox* shutDownWhenDoneBox;

    FlatButton* info;
    FlatButton* checkForUpdate;
    LinkLabel* homePageLink;
};

// Creates every control of the main window at its place, with its caption.
void buildMainWindow(QWidget* form, MainWindowControls& ui);
