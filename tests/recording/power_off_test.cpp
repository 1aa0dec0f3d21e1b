#include "recording/logind_power_off.h"
#include "support/private_bus.h"

#include <QDBusConnection>
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

TEST(PowerOff, asksLogindInteractivelyOnTheGivenBus)
{
    PrivateBus bus;
    ASSERT_FALSE(bus.address.isEmpty()) << "no private dbus-daemon";
    auto* login1 = new FakeLogin1;
    ASSERT_TRUE(bus.offer(login1, QStringLiteral("org.freedesktop.login1"), QStringLiteral("/org/freedesktop/login1")));

    const QDBusConnection program = bus.connect(QStringLiteral("program"));
    EXPECT_TRUE(logindPowerOff(program));
    EXPECT_EQ(login1->calls, 1);
    EXPECT_TRUE(login1->interactive);

    bus.withdraw(QStringLiteral("org.freedesktop.login1"));
    EXPECT_FALSE(logindPowerOff(program)); // nobody to ask: refused, not hung
}

} // namespace

#include "power_off_test.moc"
