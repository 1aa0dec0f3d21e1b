#pragma once

#include "help_windows/cord_window.h"
#include "help_windows/info_window.h"
#include "help_windows/update_window.h"

#include <QObject>
#include <QPointer>
#include <functional>

class Dialogs;
class FlatButton;

// The main window's "&Info" and "Check for product &update" buttons and the Info
// window's cord button. Each window is made on its first showing, shown again
// (raised) afterwards, and closed together with the main window. None of them
// touches the playlist or a run.
class HelpWindows : public QObject {
    Q_OBJECT
public:
    // The windows are children of windowParent, as is this object; each new one is
    // handed to closeWithMainWindow.
    HelpWindows(FlatButton* infoButton, FlatButton* updateCheckButton, Dialogs& dialogs, QWidget* windowParent,
                std::function<void(QWidget*)> closeWithMainWindow);

    void showInfo();
    void showCordScreenshot();
    void showUpdateCheck();

    // The windows made so far; null until first shown.
    InfoWindow* info() const { return m_info; }
    CordWindow* cordScreenshot() const { return m_cordScreenshot; }
    UpdateCheckWindow* updateCheck() const { return m_updateCheck; }

private:
    void bringUp(QWidget* window);

    Dialogs& m_dialogs;
    QWidget* m_windowParent;
    std::function<void(QWidget*)> m_closeWithMainWindow;
    QPointer<InfoWindow> m_info;
    QPointer<CordWindow> m_cordScreenshot;
    QPointer<UpdateCheckWindow> m_updateCheck;
};
