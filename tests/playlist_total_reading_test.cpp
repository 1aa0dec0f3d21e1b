#include "common/number_text.h"
#include "playlist/playlist_table.h"
#include "playlist/playlist_total.h"

#include <gtest/gtest.h>

// The total reads each length and gap the way the columns show them; the quick
// reading of plain digits and whole milliseconds must agree with the full rule.
TEST(PlaylistTotalReading, agreesWithTheTextRoundTrip)
{
    const char* const lengths[] = {"0", "7", "215", "3725", "999999999999999", "1234567890123456", " 12", "2 s", "1.5", "", "abc"};
    const double gaps[] = {0, -0.0, 1, 999, 1500, 2000, 1333, -1000, 32767, 123456789, 1e14, 1e15 - 1, 1e15, 1e300,
                           0.5, 1333.3333333333333, -2.25};
    for (const char* length : lengths) {
        for (double gap : gaps) {
            PlaylistTable table;
            table[table.claimSlot()] = {QStringLiteral("a"), QString::fromLatin1(length), gap};
            table[table.claimSlot()] = {QStringLiteral("b"), QStringLiteral("0"), 0};
            const double expected = leadingNumber(QString::fromLatin1(length)) + leadingNumber(plainNumber(gap / 1000));
            EXPECT_EQ(playlistTotal(table), expected) << length << " " << gap;
        }
    }
}
