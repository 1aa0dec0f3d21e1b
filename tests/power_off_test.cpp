#include "recording/logind_power_off.h"

#include <QDBusConnection>
#include <QDBusError>
#include <QProcess>
#include <QThread>
#include <gtest/gtest.h>
#include <atomic>
#include <memory>

namespace {

// Stands in for logind: remembers the PowerOff requests and switches nothing off.
class FakeLogin1 : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.login1.Manager")
public:
    std::atomic<int> calls{0};
    std::atomic<bool> interactive{false};

public Q_SLOTS:
    void PowerOff(bool asked)
    {
        interactive = asked;
        ++calls;
    }
};

// A private message bus of the test, stopped by its process id.
class PrivateBus {
public:
    PrivateBus()
    {
        m_daemon.start(QStringLiteral("dbus-daemon"),
                       {QStringLiteral("--session"), QStringLiteral("--nofork"), QStringLiteral("--print-address")});
        if (m_daemon.waitForStarted(5000) && m_daemon.waitForReadyRead(5000))
            address = QString::fromUtf8(m_daemon.readLine()).trimmed();
    }
    ~PrivateBus()
    {
        m_daemon.terminate();
        if (!m_daemon.waitForFinished(5000))
            m_daemon.kill();
        m_daemon.waitForFinished(2000);
    }

    QString address;

private:
    QProcess m_daemon;
};

TEST(PowerOff, asksLogindInteractivelyOnTheGivenBus)
{
    PrivateBus bus;
    ASSERT_FALSE(bus.address.isEmpty()) << "no private dbus-daemon";

    // The fake answers from a thread of its own while the request waits for it.
    QThread serviceThread;
    auto* login1 = new FakeLogin1;
    login1->moveToThread(&serviceThread);
    QObject::connect(&serviceThread, &QThread::finished, login1, &QObject::deleteLater);
    serviceThread.start();
    const std::unique_ptr<QThread, void (*)(QThread*)> stopService(&serviceThread, [](QThread* thread) {
        thread->quit();
        thread->wait();
    });
    QDBusConnection service = QDBusConnection::connectToBus(bus.address, QStringLiteral("login1"));
    ASSERT_TRUE(service.isConnected());
    ASSERT_TRUE(service.registerService(QStringLiteral("org.freedesktop.login1")));
    ASSERT_TRUE(service.registerObject(QStringLiteral("/org/freedesktop/login1"), login1,
                                       QDBusConnection::ExportAllSlots));

    const QDBusConnection program = QDBusConnection::connectToBus(bus.address, QStringLiteral("program"));
    EXPECT_TRUE(logindPowerOff(program));
    EXPECT_EQ(login1->calls, 1);
    EXPECT_TRUE(login1->interactive);

    service.unregisterService(QStringLiteral("org.freedesktop.login1"));
    EXPECT_FALSE(logindPowerOff(program)); // nobody to ask: refused, not hung

    service.unregisterObject(QStringLiteral("/org/freedesktop/login1"));
    QDBusConnection::disconnectFromBus(QStringLiteral("program"));
    QDBusConnection::disconnectFromBus(QStringLiteral("login1"));
}

} // namespace

#include "power_off_test.moc"
