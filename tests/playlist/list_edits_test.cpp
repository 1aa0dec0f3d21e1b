#include "playlist/list_edits.h"

#include <QString>
#include <gtest/gtest.h>
#include <optional>
#include <utility>

// A gap is read in seconds by the leading-number rule; one that a timer cannot wait,
// beyond a signed 32-bit count of milliseconds either way, is refused.
TEST(ListEdits, gapMilliseconds_readsSecondsAndRefusesWhatNoTimerCanWait)
{
    const std::pair<const char16_t*, std::optional<double>> cases[] = {
        {u"1.5 s", 1500}, {u"-1", -1000}, {u"2147483.647", 2147483647}, {u"2147483.648", std::nullopt},
        {u"-1e300", std::nullopt},
    };
    for (const auto& [answer, expected] : cases)
        EXPECT_EQ(gapMilliseconds(QStringView(answer)), expected) << QString::fromUtf16(answer).toStdString();
}
