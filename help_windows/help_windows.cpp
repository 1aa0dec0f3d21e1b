#include "help_windows/help_windows.h"

#include "common/addresses.h"
#include "common/flat_button.h"

HelpWindows::HelpWindows(FlatButton* infoButton, FlatButton* updateCheckButton, Dialogs& dialogs,
                         QWidget* windowParent, std::function<void(QWidget*)> closeWithMainWindow)
    : QObject(windowParent)
    , m_dialogs(dialogs)
    , m_windowParent(windowParent)
    , m_closeWithMainWindow(std::move(closeWithMainWindow))
{
    setObjectName(QStringLiteral("HelpWindows"));
    connect(infoButton, &QPushButton::clicked, this, &HelpWindows::showInfo);
    connect(updateCheckButton, &QPushButton::clicked, this, &HelpWindows::showUpdateCheck);
}

void HelpWindows::showInfo()
{
    if (!m_info) {
        m_info = new InfoWindow(m_windowParent);
        connect(m_info->viewCordScreenshot, &QPushButton::clicked, this, &HelpWindows::showCordScreenshot);
        m_closeWithMainWindow(m_info);
    }
    bringUp(m_info);
}

void HelpWindows::showCordScreenshot()
{
    if (!m_cordScreenshot) {
        m_cordScreenshot = new CordWindow(m_windowParent);
        m_closeWithMainWindow(m_cordScreenshot);
    }
    bringUp(m_cordScreenshot);
}

void HelpWindows::showUpdateCheck()
{
    if (!m_updateCheck) {
        m_updateCheck = new UpdateCheckWindow(m_dialogs, QString::fromLatin1(kVersionFileAddress),
                                              std::chrono::seconds(15), m_windowParent);
        m_closeWithMainWindow(m_updateCheck);
    }
    bringUp(m_updateCheck);
}

void HelpWindows::bringUp(QWidget* window)
{
    window->show();
    window->raise();
    window->activateWindow();
}
