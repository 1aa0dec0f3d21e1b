#include "common/basic_random.h"
#include "playlist/list_edits.h"
#include "playlist/playlist_table.h"

#include <QStringList>
#include <gtest/gtest.h>
#include <algorithm>

namespace {

void fillTable(PlaylistTable& table, const QStringList& names)
{
    for (const QString& name : names)
        table[table.claimSlot()] = {name, QString::number(name.size() * 10), name.size() * 500.0};
}

QStringList paths(const PlaylistTable& table)
{
    QStringList result;
    for (int i = 0; i <= table.lastIndex(); ++i)
        result << table[i].path;
    return result;
}

// Each entry's length and gap were made from its path; they must still match it.
void expectFieldsTogether(const PlaylistTable& table)
{
    for (int i = 0; i <= table.lastIndex(); ++i) {
        EXPECT_EQ(table[i].length, QString::number(table[i].path.size() * 10)) << i;
        EXPECT_EQ(table[i].gap, table[i].path.size() * 500.0) << i;
    }
}

} // namespace

TEST(ListEdits, removeEntry_shiftsLaterEntriesUp)
{
    struct Case {
        int slot;
        QStringList expected;
    };
    const Case cases[] = {
        {0, {"bb", "ccc", "dddd"}},
        {1, {"a", "ccc", "dddd"}},
        {3, {"a", "bb", "ccc"}},
    };
    for (const Case& c : cases) {
        PlaylistTable table;
        fillTable(table, {"a", "bb", "ccc", "dddd"});
        removeEntry(table, c.slot);
        EXPECT_EQ(paths(table), c.expected) << c.slot;
        EXPECT_EQ(table.lastIndex(), 2);
        expectFieldsTogether(table);
    }

    PlaylistTable single;
    fillTable(single, {"only"});
    removeEntry(single, 0);
    EXPECT_TRUE(single.isEmpty());
}

TEST(ListEdits, shuffleEntries_followsTheGeneratorAndKeepsFields)
{
    // First draws of the generator: .7055475 .5334240 | .5795186 .2895625 |
    // .3019480 .7747401 | .0140176 .7607236, times 4: exchanges (2,2) (2,1) (1,3) (0,3).
    PlaylistTable table;
    fillTable(table, {"A", "BB", "CCC", "DDDD"});
    BasicRandom random;
    shuffleEntries(table, random);
    EXPECT_EQ(paths(table), QStringList({"CCC", "DDDD", "BB", "A"}));
    expectFieldsTogether(table);

    // The sequence goes on: exchanges (3,2) (0,1) (3,3) (1,3).
    shuffleEntries(table, random);
    EXPECT_EQ(paths(table), QStringList({"DDDD", "BB", "A", "CCC"}));
    expectFieldsTogether(table);
}

TEST(ListEdits, shuffleEntries_fullTableStaysInRange)
{
    PlaylistTable table;
    while (table.count() < PlaylistTable::kCapacity)
        table[table.claimSlot()] = {QString::number(table.count()), QStringLiteral("1"), 0};
    BasicRandom random;
    shuffleEntries(table, random);
    QStringList sorted = paths(table);
    std::sort(sorted.begin(), sorted.end());
    sorted.erase(std::unique(sorted.begin(), sorted.end()), sorted.end());
    EXPECT_EQ(sorted.size(), PlaylistTable::kCapacity);
}

TEST(ListEdits, gapMilliseconds_readsSecondsByTheLeadingNumberRule)
{
    struct Case {
        const char16_t* answer;
        std::optional<double> expected;
    };
    const Case cases[] = {
        {u"3", 3000},
        {u"1.5 s", 1500},
        {u"abc", 0},
        {u" 2.0", 2000},
        {u"-1", -1000},
        {u"2147483.647", 2147483647},
        {u"2147483.648", std::nullopt},
        {u"-1e300", std::nullopt},
        {u"1e999", std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(gapMilliseconds(QStringView(c.answer)), c.expected) << QString::fromUtf16(c.answer).toStdString();
}
