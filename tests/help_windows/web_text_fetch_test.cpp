#include "help_windows/web_text_fetch.h"

#include "support/local_http_server.h"

#include <QElapsedTimer>
#include <QSignalSpy>
#include <gtest/gtest.h>

using namespace std::chrono_literals;

namespace {

// Waits as the update check does: for the transfer to announce its end.
QString fetch(WebTextFetch& fetcher, const QString& address)
{
    QSignalSpy finished(&fetcher, &WebTextFetch::finished);
    fetcher.openUrl(address);
    EXPECT_TRUE(finished.wait(10000)) << "the transfer did not end";
    return fetcher.text();
}

} // namespace

// That an HTTP error gives no text is pinned where the update check ends quietly.
TEST(WebTextFetchTest, readsTheBodyAsUtf8AndNoMoreThan64KiB)
{
    LocalHttpServer server;
    WebTextFetch fetcher(10s);
    server.respond(200, "caf\xc3\xa9");
    EXPECT_EQ(fetch(fetcher, server.address()), u"caf\u00e9");
    server.respond(200, QByteArray(4 * 1024 * 1024, 'y'));
    const QString text = fetch(fetcher, server.address());
    EXPECT_TRUE(text == QString(WebTextFetch::kMaxSize, u'y')) << text.size(); // EXPECT_EQ would print 64 KiB
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

    // The fetcher is ready for the next transfer afterwards.
    server.respond(200, "1*6*5");
    EXPECT_EQ(fetch(fetcher, server.address()), u"1*6*5");
}
