#include "app/startup.h"

#include "app/main_window.h"
#include "app/splash_window.h"
#include "common/dialogs.h"
#include "playlist/opened_files.h"

#include <QScreen>
#include <QTimer>

void centreOnScreen(QWidget* window)
{
    const QRect screen = window->screen()->availableGeometry();
    window->move(screen.center() - window->rect().center());
}

Startup::Startup(const AppServices& services, const QStringList& files, QObject* parent)
    : QObject(parent)
    , m_services(services)
    , m_files(files)
{
}

void Startup::start()
{
    m_splash = new SplashWindow;
    auto* timer = new QTimer(m_splash);
    timer->setObjectName(QStringLiteral("Timer1"));
    timer->setSingleShot(true); // closing the splash ends its timer after one tick
    timer->setInterval(1200);
    connect(timer, &QTimer::timeout, this, &Startup::tick);
    centreOnScreen(m_splash);
    m_splash->show();
    timer->start();
}

void Startup::tick()
{
    m_main = new MainWindow(m_services);
    m_main->setUpColumns();
    m_main->setUpVolumeButton();
    centreOnScreen(m_main);
    m_main->show();
    m_splash->close();
    // With nothing to add the list stays untouched, and so does "Total time:".
    const OpenedFiles files = sortOpenedFiles(m_files);
    if (!files.taken.isEmpty())
        m_main->addFiles(files.taken);
    if (!files.refused.isEmpty())
        m_services.dialogs.message(m_main, refusedFilesMessage(files.refused), QStringLiteral("Trelvik"),
                                   QMessageBox::Warning);
    Q_EMIT mainWindowShown();
}
