#include "sound_server/background_other_sounds.h"

#include <QTest>
#include <QThread>
#include <gtest/gtest.h>
#include <condition_variable>
#include <mutex>

namespace {

// What a sound server that stops answering is asked, and where; it answers only once let.
struct StuckServer {
    std::mutex lock;
    std::condition_variable answer;
    bool answering = false;
    QStringList asked;
    QThread* askedOn = nullptr;

    void note(const QString& what, bool answered = false)
    {
        std::unique_lock guard(lock);
        answer.wait(guard, [&] { return answering || !answered; });
        asked << what;
        askedOn = QThread::currentThread();
    }
};

struct StuckOtherSounds : WaitingOtherSounds {
    explicit StuckOtherSounds(StuckServer& server) : server(server) { server.note(QStringLiteral("made")); }
    ~StuckOtherSounds() override { server.note(QStringLiteral("gone")); }
    QString keepOff(const QString& outputName) override { server.note("keep off " + outputName, true); return "refused"; }
    void restore() override { server.note(QStringLiteral("restore"), true); }
    StuckServer& server;
};

} // namespace

// The window asks and goes on while the server does not answer; the answers come in
// order, on the window's thread, and the last request is served before the end.
TEST(BackgroundOtherSounds, askingNeverWaitsForTheServerAndAnswersComeInOrder)
{
    StuckServer server;
    QStringList told;
    {
        BackgroundOtherSounds sounds([&] { return std::make_unique<StuckOtherSounds>(server); });
        QList<QThread*> toldOn;
        const auto tell = [&](const QString& problem) { told << problem; toldOn << QThread::currentThread(); };
        sounds.keepOff(QStringLiteral("deck"), tell);
        sounds.restore();
        sounds.keepOff(QStringLiteral("deck2"), tell);
        QTest::qWait(50);
        EXPECT_TRUE(told.isEmpty()) << "told before the server answered";
        EXPECT_TRUE(QTest::qWaitFor([&] { const std::lock_guard guard(server.lock); return server.asked == QStringList({"made"}); }, 5000));

        { const std::lock_guard guard(server.lock); server.answering = true; }
        server.answer.notify_all();
        EXPECT_TRUE(QTest::qWaitFor([&] { return told.size() == 2; }, 10000));
        EXPECT_EQ(told, QStringList({"refused", "refused"}));
        EXPECT_EQ(toldOn, QList<QThread*>(2, QThread::currentThread()));
        EXPECT_NE(server.askedOn, QThread::currentThread()) << "the server was asked on the window's thread";
        sounds.restore();
    }
    EXPECT_EQ(server.asked, QStringList({"made", "keep off deck", "restore", "keep off deck2", "restore", "gone"}));
}
