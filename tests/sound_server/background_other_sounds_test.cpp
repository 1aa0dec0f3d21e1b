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
        if (answered)
            answer.wait(guard, [this] { return answering; });
        asked << what;
        askedOn = QThread::currentThread();
    }
    QStringList askedSoFar()
    {
        const std::lock_guard guard(lock);
        return asked;
    }
    void letAnswer()
    {
        const std::lock_guard guard(lock);
        answering = true;
        answer.notify_all();
    }
};

class StuckOtherSounds : public WaitingOtherSounds {
public:
    explicit StuckOtherSounds(StuckServer& server) : m_server(server) { m_server.note(QStringLiteral("made")); }
    ~StuckOtherSounds() override { m_server.note(QStringLiteral("gone")); }

    QString keepOff(const QString& outputName) override
    {
        m_server.note(QStringLiteral("keep off ") + outputName, true);
        return QStringLiteral("refused");
    }
    void restore() override { m_server.note(QStringLiteral("restore"), true); }

private:
    StuckServer& m_server;
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
        QThread* toldOn = nullptr;
        sounds.keepOff(QStringLiteral("deck"), [&](const QString& problem) {
            told << problem;
            toldOn = QThread::currentThread();
        });
        sounds.restore();
        sounds.keepOff(QStringLiteral("deck2"), [&](const QString& problem) { told << problem; });
        QTest::qWait(50);
        EXPECT_TRUE(told.isEmpty()) << "told before the server answered";
        EXPECT_TRUE(QTest::qWaitFor([&] { return server.askedSoFar() == QStringList({"made"}); }, 5000));

        server.letAnswer();
        EXPECT_TRUE(QTest::qWaitFor([&] { return told.size() == 2; }, 10000));
        EXPECT_EQ(told, QStringList({"refused", "refused"}));
        EXPECT_EQ(toldOn, QThread::currentThread());
        EXPECT_NE(server.askedOn, QThread::currentThread()) << "the server was asked on the window's thread";
        sounds.restore();
    }
    EXPECT_EQ(server.asked, QStringList({"made", "keep off deck", "restore", "keep off deck2", "restore", "gone"}));
}
