#pragma once

#include "help_windows/web_text_fetch.h"

#include <QWidget>
#include <chrono>

class Dialogs;
class FlatButton;
class LinkLabel;
class QGroupBox;
class QLabel;

// "Check for product update" (Form8): compares our version with the maker's version
// file and arms a download link when an update exists. Nothing runs until the
// button is pressed.
class UpdateCheckWindow : public QWidget {
    Q_OBJECT
public:
    // The check gives up on a server that has not delivered the file within timeLimit.
    UpdateCheckWindow(Dialogs& dialogs, const QString& versionFileAddress, std::chrono::milliseconds timeLimit,
                      QWidget* parent = nullptr);

    QGroupBox* controlsFrame;
    FlatButton* checkButton; // "Click here to check"
    LinkLabel* downloadLink;   // opens the update's download once armed
    QLabel* instructionsLabel; // installation instructions

protected:
    // Reopening shows the window as designed; a check still running is given up.
    void closeEvent(QCloseEvent* event) override;

private:
    void check();
    void finishCheck();
    void showDesignState();

    Dialogs& m_dialogs;
    QString m_versionFileAddress;
    WebTextFetch m_fetch;
};
