#include "recording/logind_power_off.h"

#include <QDBusConnection>
#include <QProcess>
#include <QThread>
#include <gtest/gtest.h>
#include <atomic>

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

// A private message bus of the test, stopped by its process id; the fake answers
// from a thread of its own while the request waits for it.
class PrivateBus {
public:
    PrivateBus()
    {
        m_daemon.start(QStringLiteral("dbus-daemon"),
                       {QStringLiteral("--session"), QStringLiteral("--nofork"), QStringLiteral("--print-address")});
        if (m_daemon.waitForStarted(5000) && m_daemon.waitForReadyRead(5000))
            address = QString::fromUtf8(m_daemon.readLine()).trimmed();
        login1->moveToThread(&m_serviceThread);
        QObject::connect(&m_serviceThread, &QThread::finished, login1, &QObject::deleteLater);
        m_serviceThread.start();
    }
    ~PrivateBus()
    {
        m_serviceThread.quit();
        m_serviceThread.wait();
        m_daemon.kill();
        m_daemon.waitForFinished(5000);
    }

    QString address;
    FakeLogin1* login1 = new FakeLogin1;

private:
    QProcess m_daemon;
    QThread m_serviceThread;
};

TEST(PowerOff, asksLogindInteractivelyOnTheGivenBus)
{
    PrivateBus bus;
    ASSERT_FALSE(bus.address.isEmpty()) << "no private dbus-daemon";
    QDBusConnection service = QDBusConnection::connectToBus(bus.address, QStringLiteral("login1"));
    ASSERT_TRUE(service.isConnected());
    ASSERT_TRUE(service.registerService(QStringLiteral("org.freedesktop.login1")));
    ASSERT_TRUE(service.registerObject(QStringLiteral("/org/freedesktop/login1"), bus.login1,
                                       QDBusConnection::ExportAllSlots));

    const QDBusConnection program = QDBusConnection::connectToBus(bus.address, QStringLiteral("program"));
    EXPECT_TRUE(logindPowerOff(program));
    EXPECT_EQ(bus.login1->calls, 1);
    EXPECT_TRUE(bus.login1->interactive);

    service.unregisterService(QStringLiteral("org.freedesktop.login1"));
    EXPECT_FALSE(logindPowerOff(program)); // nobody to ask: refused, not hung

    service.unregisterObject(QStringLiteral("/org/freedesktop/login1"));
    QDBusConnection::disconnectFromBus(QStringLiteral("program"));
    QDBusConnection::disconnectFromBus(QStringLiteral("login1"));
}

} // namespace

#include "power_off_test.moc"
