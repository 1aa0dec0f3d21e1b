#pragma once

#include "support/die_with_parent.h"

#include <QDBusConnection>
#include <QProcess>
#include <QThread>

// A private message bus of the test, stopped by its process id. The fakes offered
// on it answer from a thread of their own, so a request that waits is answered.
class PrivateBus {
public:
    PrivateBus()
    {
        dieWithParent(m_daemon);
        m_daemon.start(QStringLiteral("dbus-daemon"),
                       {QStringLiteral("--session"), QStringLiteral("--nofork"), QStringLiteral("--print-address")});
        if (m_daemon.waitForStarted(5000) && m_daemon.waitForReadyRead(5000))
            address = QString::fromUtf8(m_daemon.readLine()).trimmed();
        m_serviceThread.start();
    }
    ~PrivateBus()
    {
        for (const QString& name : std::as_const(m_connections))
            QDBusConnection::disconnectFromBus(name);
        m_serviceThread.quit();
        m_serviceThread.wait();
        m_daemon.kill();
        m_daemon.waitForFinished(5000);
    }

    // A connection of the test's own, by a name of its own.
    QDBusConnection connect(const QString& name)
    {
        m_connections << name;
        return QDBusConnection::connectToBus(address, name);
    }

    // The service, which the bus comes to own, is named on the bus and answers at path.
    bool offer(QObject* service, const QString& name, const QString& path)
    {
        service->moveToThread(&m_serviceThread);
        QObject::connect(&m_serviceThread, &QThread::finished, service, &QObject::deleteLater);
        QDBusConnection bus = connect(name);
        return bus.registerService(name) && bus.registerObject(path, service, QDBusConnection::ExportAllSlots);
    }

    // The service's name goes from the bus: it is no longer there to be asked.
    void withdraw(const QString& name) { QDBusConnection(name).unregisterService(name); }

    QString address;

private:
    QProcess m_daemon;
    QThread m_serviceThread;
    QStringList m_connections;
};
