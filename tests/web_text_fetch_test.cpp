#include "help_windows/web_text_fetch.h"

#include "support/local_http_server.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <gtest/gtest.h>

using namespace std::chrono_literals;

namespace {

// Waits as the update check does: pending events run until the transfer ends.
QString fetch(WebTextFetch& fetcher, const QString& address)
{
    fetcher.openUrl(address);
    while (fetcher.stillExecuting())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    return fetcher.text();
}

} // namespace

TEST(WebTextFetchTest, givesTheBodyOfASuccessfulAnswerOnlyAndNoMoreThan64KiB)
{
    const struct {
        int status;
        QByteArray body;
        QString text;
    } cases[] = {
        {200, "1*6*0*1*7*0*a*b*x*y\r\n", QStringLiteral("1*6*0*1*7*0*a*b*x*y\r\n")},
        {200, "", QString()},
        {200, "caf\xc3\xa9", QStringLiteral("caf\u00e9")},
        {200, QByteArray(4 * 1024 * 1024, 'y'), QString(WebTextFetch::kMaxSize, u'y')},
        {404, "<html>Not here</html>", QString()},
        {500, "1*6*0*1*7*0*a*b*x*y", QString()},
    };
    LocalHttpServer server;
    WebTextFetch fetcher(10s);
    for (const auto& c : cases) {
        server.respond(c.status, c.body);
        const QString text = fetch(fetcher, server.address());
        EXPECT_EQ(text.size(), c.text.size()) << c.status << ' ' << c.body.size();
        EXPECT_TRUE(text == c.text) << c.status << ' ' << c.body.size();
    }
    EXPECT_EQ(server.requests, int(std::size(cases)));
}

TEST(WebTextFetchTest, aServerThatNeverAnswersIsGivenUpAfterTheTimeLimit)
{
    LocalHttpServer server;
    server.neverAnswer();
    WebTextFetch fetcher(300ms);
    QElapsedTimer clock;
    clock.start();
    EXPECT_TRUE(fetch(fetcher, server.address()).isEmpty());
    EXPECT_EQ(server.requests, 1);
    EXPECT_GE(clock.elapsed(), 250);
    EXPECT_LT(clock.elapsed(), 5000);

    // The fetcher is ready for the next transfer afterwards.
    server.respond(200, "1*6*5");
    EXPECT_EQ(fetch(fetcher, server.address()), u"1*6*5");
}
