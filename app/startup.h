#pragma once

#include "app/app_services.h"
#include "app/main_window.h"
#include "app/splash_window.h"

#include <QObject>
#include <QPointer>

// The start of the program: the splash window first, and 1200 ms later the main
// window, prepared in one go while the splash stays up. Files the program was
// opened with then go on the list as if dropped on it.
class Startup : public QObject {
    Q_OBJECT
public:
    Startup(const AppServices& services, const QStringList& files, QObject* parent = nullptr);

    // Opens the splash window and starts its timer.
    void start();

    // The splash timer's tick: prepares and shows the main window, closes the splash
    // and adds the files.
    void tick();

    SplashWindow* splash() const { return m_splash; }
    MainWindow* mainWindow() const { return m_main; }

Q_SIGNALS:
    void mainWindowShown();

private:
    AppServices m_services;
    QStringList m_files;
    QPointer<SplashWindow> m_splash;
    QPointer<MainWindow> m_main;
};

// Centres a window on its screen.
void centreOnScreen(QWidget* window);
