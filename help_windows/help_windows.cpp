#include "help_windows/help_windows.h"

#include "app/main_window.h"
#include "common/addresses.h"
#include "common/flat_button.h"

HelpWindows::HelpWindows(MainWindow& main)
    : QObject(&main)
    , m_main(main)
{
    setObjectName(QStringLiteral("HelpWindows"));
    connect(main.ui.info, &QPushButton::clicked, this, &HelpWindows::showInfo);
    connect(main.ui.checkForUpdate, &QPushButton::clicked, this, &HelpWindows::showUpdateCheck);
}

void HelpWindows::showInfo()
{
    if (!m_info) {
        m_info = new Form2(&m_main);
        connect(m_info->viewCordScreenshot, &QPushButton::clicked, this, &HelpWindows::showCordScreenshot);
        m_main.closeWithWindow(m_info);
    }
    bringUp(m_info);
}

void HelpWindows::showCordScreenshot()
{
    if (!m_cordScreenshot) {
        m_cordScreenshot = new Form4(&m_main);
        m_main.closeWithWindow(m_cordScreenshot);
    }
    bringUp(m_cordScreenshot);
}

void HelpWindows::showUpdateCheck()
{
    if (!m_updateCheck) {
        m_updateCheck = new Form8(m_main.dialogs(), QString::fromLatin1(kVersionFileAddress),
                                  std::chrono::seconds(15), &m_main);
        m_main.closeWithWindow(m_updateCheck);
    }
    bringUp(m_updateCheck);
}

void HelpWindows::bringUp(QWidget* window)
{
    window->show();
    window->raise();
    window->activateWindow();
}
