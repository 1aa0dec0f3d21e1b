#include "recording/dbus_keep_awake.h"
#include "recording/logind_power_off.h"
#include "support/die_with_parent.h"

#include <QDBusContext>
#include <QDBusObjectPath>
#include <QDBusUnixFileDescriptor>
#include <QTest>
#include <QThread>
#include <gtest/gtest.h>
#include <algorithm>
#include <atomic>
#include <functional>
#include <mutex>
#include <poll.h>
#include <unistd.h>

namespace {

const QString kPortal = QStringLiteral("org.freedesktop.portal.Desktop");
const QString kLogind = QStringLiteral("org.freedesktop.login1");

bool eventually(const std::function<bool()>& condition) { return QTest::qWaitFor(condition, 10000); }

// One inhibition the fake portal holds until it is closed.
class FakeRequest : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.portal.Request")
public:
    FakeRequest(std::atomic<int>& held, QObject* parent) : QObject(parent), held(held) { ++held; }
    std::atomic<int>& held;

public Q_SLOTS:
    void Close() { --held; deleteLater(); }
};

class FakePortal : public QObject, protected QDBusContext {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.portal.Inhibit")
public:
    std::atomic<int> asked {0};
    std::atomic<int> held {0};

public Q_SLOTS:
    QDBusObjectPath Inhibit(const QString&, uint, const QVariantMap&)
    {
        const QString path = QStringLiteral("/org/freedesktop/portal/desktop/request/%1").arg(++asked);
        connection().registerObject(path, new FakeRequest(held, this), QDBusConnection::ExportAllSlots);
        return QDBusObjectPath(path);
    }
};

// Hands out one end of a pipe as logind does its lock; the lock is let go once every
// copy of that end is closed. It notes a power-off and switches nothing off.
class FakeLogind : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.login1.Manager")
public:
    ~FakeLogind() override { std::for_each(m_lockEnds.begin(), m_lockEnds.end(), ::close); }

    QStringList asked() const
    {
        const std::lock_guard lock(m_lock);
        return m_asked;
    }
    // How many locks handed out are still held somewhere.
    int held() const
    {
        const std::lock_guard lock(m_lock);
        return int(std::count_if(m_lockEnds.begin(), m_lockEnds.end(), [](int end) {
            pollfd watch {end, POLLIN, 0};
            return ::poll(&watch, 1, 0) == 0; // no hang-up: a copy of the other end is open
        }));
    }

public Q_SLOTS:
    QDBusUnixFileDescriptor Inhibit(const QString& what, const QString& who, const QString&, const QString& mode)
    {
        int ends[2];
        if (::pipe(ends) != 0)
            return {};
        const QDBusUnixFileDescriptor lock(ends[1]); // a copy of its own
        ::close(ends[1]);
        const std::lock_guard guard(m_lock);
        m_lockEnds << ends[0];
        m_asked << QStringList{what, who, mode}.join(u' ');
        return lock;
    }
    void PowerOff(bool interactive)
    {
        const std::lock_guard guard(m_lock);
        m_asked << (interactive ? QStringLiteral("power off, asking") : QStringLiteral("power off"));
    }

private:
    mutable std::mutex m_lock;
    QList<int> m_lockEnds;
    QStringList m_asked;
};

// A private message bus of the test, stopped by its process id, with a fake portal and
// a fake logind on it. The fakes answer from a thread of their own, so a request that
// waits is answered.
class FakeDesktop {
public:
    FakePortal* portal = new FakePortal;
    FakeLogind* logind = new FakeLogind;

    FakeDesktop()
    {
        dieWithParent(m_daemon);
        m_daemon.start(QStringLiteral("dbus-daemon"), {"--session", "--nofork", "--print-address"});
        if (m_daemon.waitForStarted(5000) && m_daemon.waitForReadyRead(5000))
            m_address = QString::fromUtf8(m_daemon.readLine()).trimmed();
        EXPECT_FALSE(m_address.isEmpty()) << "no private dbus-daemon";
        m_serviceThread.start();
        EXPECT_TRUE(offer(portal, kPortal, QStringLiteral("/org/freedesktop/portal/desktop")));
        EXPECT_TRUE(offer(logind, kLogind, QStringLiteral("/org/freedesktop/login1")));
    }
    ~FakeDesktop()
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
        return QDBusConnection::connectToBus(m_address, name);
    }
    DBusKeepAwake keepAwake() { return DBusKeepAwake(connect("session"), connect("system")); }

private:
    // The service, which the bus comes to own, is named on the bus and answers at path.
    bool offer(QObject* service, const QString& name, const QString& path)
    {
        service->moveToThread(&m_serviceThread);
        QObject::connect(&m_serviceThread, &QThread::finished, service, &QObject::deleteLater);
        QDBusConnection bus = connect(name);
        return bus.registerService(name) && bus.registerObject(path, service, QDBusConnection::ExportAllSlots);
    }

    QProcess m_daemon;
    QString m_address;
    QThread m_serviceThread;
    QStringList m_connections;
};

} // namespace

// The portal is asked first; each hold is one inhibition, let go on release, however
// the answers and the releases cross, and when the program lets go of it all. Without
// a portal logind blocks sleep and idle; it is also what powers off, asking the user
// on the given bus, and refuses rather than hangs once it is gone.
TEST(KeepAwake, thePortalOrElseLogindKeepsTheComputerAwakeFromHoldToRelease_andLogindPowersOff)
{
    FakeDesktop desktop;
    FakePortal& portal = *desktop.portal;
    FakeLogind& logind = *desktop.logind;
    {
        DBusKeepAwake awake = desktop.keepAwake();
        awake.hold();
        awake.hold();
        EXPECT_TRUE(eventually([&] { return portal.held == 1; }));
        awake.release();
        EXPECT_TRUE(eventually([&] { return portal.held == 0; }));

        // Released before the portal answered: what it grants is given back.
        awake.hold();
        awake.release();
        awake.hold();
        EXPECT_TRUE(eventually([&] { return portal.asked == 3; }));
        EXPECT_TRUE(eventually([&] { return portal.held == 1; }));
        QTest::qWait(100);
        EXPECT_EQ(portal.held, 1);
    }
    EXPECT_TRUE(eventually([&] { return portal.held == 0; })) << "let go with the program";
    EXPECT_TRUE(logind.asked().isEmpty());

    QDBusConnection(kPortal).unregisterService(kPortal);
    {
        DBusKeepAwake awake = desktop.keepAwake();
        awake.hold();
        EXPECT_TRUE(eventually([&] { return logind.held() == 1; }));
        awake.release();
        EXPECT_EQ(logind.held(), 0);
    } // letting go with the program is release's, as with the portal

    const QDBusConnection program = desktop.connect(QStringLiteral("program"));
    EXPECT_TRUE(logindPowerOff(program));
    EXPECT_EQ(logind.asked(), QStringList({"sleep:idle Trelvik block", "power off, asking"}));
    QDBusConnection(kLogind).unregisterService(kLogind);
    EXPECT_FALSE(logindPowerOff(program)); // nobody to ask: refused, not hung

    // No bus to ask at all: nothing held, nothing hung.
    DBusKeepAwake nowhere(QDBusConnection(QStringLiteral("none")), QDBusConnection(QStringLiteral("none")));
    nowhere.hold();
    nowhere.release();
}

#include "keep_awake_test.moc"
