#include "recorder/title_import_file.h"

#include <QRegularExpression>
#include <gtest/gtest.h>

namespace {

// The rows as an importer splits them: on commas that no backslash escapes.
std::vector<QStringList> importedRows(const QStringList& lines)
{
    static const QRegularExpression separator(QStringLiteral("(?<!\\\\),"));
    std::vector<QStringList> rows;
    for (const QString& line : lines) {
        QStringList cells = line.split(separator);
        for (QString& cell : cells)
            cell.replace(QStringLiteral("\\,"), QStringLiteral(","));
        rows.push_back(cells);
    }
    return rows;
}

TEST(TitleImportFile, aRowForTheDiscThenOneATrackAndEveryTitleComesBackWhole)
{
    const DiscTitles titles{"Mar, Tierra", {"Uno, dos, tres", "Back\\slash", "Ends in\\", "Two\nlines", "", "ｶﾞﾝﾀﾞﾑ"},
                            {183.4, 200.6, 59, 1, std::nan(""), 30}, "SPS"};
    const QStringList csv = titleImportCsv(titles);
    ASSERT_EQ(csv.size(), 8);
    EXPECT_EQ(csv[0], "INDEX,GROUP RANGE,GROUP NAME,GROUP FULL WIDTH NAME,NAME,FULL WIDTH NAME,DURATION,ENCODING");
    EXPECT_EQ(csv[1], "0,0-0,,,Mar\\, Tierra,,474,");
    EXPECT_EQ(csv[2], "1,,,,Uno\\, dos\\, tres,,183,SPS");
    const std::vector<QStringList> rows = importedRows(csv);
    const QStringList expected[] = {{"Mar, Tierra"}, {"Uno, dos, tres"}, {"Back\\slash"}, {"Ends in"},
                                    {"Two lines"},   {""},               {"ｶﾞﾝﾀﾞﾑ"}};
    for (size_t i = 1; i < rows.size(); ++i) {
        ASSERT_EQ(rows[i].size(), 8) << csv[int(i)].toStdString();
        EXPECT_EQ(rows[i][0], QString::number(i - 1));
        EXPECT_EQ(rows[i][4], expected[i - 1].front());
    }
    EXPECT_EQ(rows[6][6], "0"); // a length that is no number counts as none

    EXPECT_EQ(titleImportLines(titles),
              QStringList({"Uno, dos, tres", "Back\\slash", "Ends in\\", "Two lines", "", "ｶﾞﾝﾀﾞﾑ"}));
    EXPECT_EQ(titleImportCsv({}).size(), 2); // an empty list still names its disc row

    EXPECT_EQ(netMdEncoding("minidisc-74-sp"), "SPS");
    EXPECT_EQ(netMdEncoding("minidisc-80-lp2"), "LP2");
    EXPECT_EQ(netMdEncoding("minidisc-60-lp4"), "LP4");
}

} // namespace
