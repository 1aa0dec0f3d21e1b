#pragma once

#include "help_windows/web_text_fetch.h"

#include <QWidget>
#include <chrono>

class Dialogs;
class FlatButton;
class LinkLabel;
class QGroupBox;
class QLabel;

// Form8, "Check for product update": compares our version with the maker's version
// file and arms a download link when an update exists. Nothing runs until the
// button is pressed.
class Form8 : public QWidget {
    Q_OBJECT
public:
    // The check gives up on a server that has not delivered the file within timeLimit.
    Form8(Dialogs& dialogs, const QString& versionFileAddress, std::chrono::milliseconds timeLimit,
          QWidget* parent = nullptr);

    QGroupBox* Frame1;
    FlatButton* checkButton; // "Click here to check"
    LinkLabel* LinkLabel1;   // opens the update's download once armed
    QLabel* Label1;          // installation instructions

protected:
    // Reopening shows the window as designed; a check still running is given up.
    void closeEvent(QCloseEvent* event) override;

private:
    void check();
    void showDesignState();

    Dialogs& m_dialogs;
    QString m_versionFileAddress;
    WebTextFetch m_fetch;
};
