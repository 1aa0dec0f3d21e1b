#include "common/basic_random.h"
#include "playlist/list_edits.h"
#include "playlist/playlist_table.h"

#include <QStringList>
#include <gtest/gtest.h>

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
