#include "support/pulse_null_sink.h"

#include <QCoreApplication>
#include <QFile>
#include <QTest>
#include <gtest/gtest.h>
#include <csignal>
#include <cstdio>

namespace {

const char* const kHolding = "TRELVIK_TEST_HOLDS_A_SERVER";

// Ended or only waiting to be reaped.
bool gone(qint64 pid)
{
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return true;
    const QByteArray line = stat.readAll();
    const qsizetype state = line.lastIndexOf(')') + 2;
    return state < 2 || state >= line.size() || line[state] == 'Z' || line[state] == 'X';
}

} // namespace

// The test program run again below, as a test that is killed from outside.
TEST(PrivateServerLifetime, holdsAServerUntilKilled)
{
    if (!qEnvironmentVariableIsSet(kHolding))
        GTEST_SKIP() << "only as the child of the test below";
    PulseNullSink sink;
    std::printf("server %lld\n", static_cast<long long>(sink.ready() ? sink.serverProcessId() : 0));
    std::fflush(stdout);
    QThread::sleep(60);
}

TEST(PrivateServerLifetime, aTestKilledFromOutsideTakesItsSoundServerWithIt)
{
    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QLatin1String(kHolding), QStringLiteral("1"));
    child.setProcessEnvironment(env);
    dieWithParent(child);
    child.start(QCoreApplication::applicationFilePath(),
                {QStringLiteral("--gtest_filter=PrivateServerLifetime.holdsAServerUntilKilled")});
    qint64 server = 0;
    while (server == 0 && (child.canReadLine() || child.waitForReadyRead(30000))) {
        const QByteArray line = child.canReadLine() ? child.readLine().trimmed() : QByteArray();
        if (line.startsWith("server "))
            server = line.mid(7).toLongLong();
    }
    ASSERT_GT(server, 0) << "the child started no server";
    ASSERT_FALSE(gone(server));
    ::kill(pid_t(child.processId()), SIGKILL);
    child.waitForFinished(5000);
    EXPECT_TRUE(QTest::qWaitFor([&] { return gone(server); }, 10000)) << "the server outlived its test";
    if (!gone(server))
        ::kill(pid_t(server), SIGKILL);
}
