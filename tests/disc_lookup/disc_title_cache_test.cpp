#include "disc_lookup/disc_title_cache.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(DiscTitleCache, keepsItsDiscsAndReadsNothingFromADamagedFile)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(kDiscTitleCacheFileName);
    EXPECT_TRUE(readDiscTitleCache(path).isEmpty());
    // Tabs and line breaks in a title would split it: they are spaces in the file.
    const DiscTitleCache cache { { "49HHV7Eb8UKF3aQiNmu1GR8vKTY-", { "R\u00edo\tLento", { "Ana - Uno", "Dos\nTres", "" } } },
                                 { "xyzHV7Eb8UKF3aQiNmu1GR8vKTY-", { "", { "Solo" } } } };
    writeDiscTitleCache(path, cache);
    const DiscTitleCache read = readDiscTitleCache(path);
    EXPECT_EQ(read.size(), 2);
    EXPECT_EQ(read.value("49HHV7Eb8UKF3aQiNmu1GR8vKTY-"),
              (LookedUpDisc { "R\u00edo Lento", { "Ana - Uno", "Dos Tres", "" } }));
    EXPECT_EQ(read.value("xyzHV7Eb8UKF3aQiNmu1GR8vKTY-"), (LookedUpDisc { "", { "Solo" } }));

    const QByteArray good = discTitleCacheBytes(cache);
    // A line that is no disc is left out; the others stay.
    const DiscTitleCache mixed = parseDiscTitleCache(good + "short id\tAlbum\tTitle\n"
                                                             "49HHV7Eb8UKF3aQiNmu1GR8vKT/-\tAlbum\tTitle\n"
                                                             "abcHV7Eb8UKF3aQiNmu1GR8vKTY-\tno titles\n\xff\xfe\n");
    EXPECT_EQ(mixed.keys().size(), 2);
    struct Case {
        const char* what;
        QByteArray bytes;
    };
    const Case damaged[] = {
        { "empty", "" },
        { "another file", "[Settings]\n" + good.mid(good.indexOf('\n') + 1) },
        { "no line end after the first line", good.left(good.indexOf('\n')) },
        { "garbage", QByteArray(5000, '\0') },
        { "huge", good + QByteArray(5 << 20, '\t') },
    };
    for (const Case& c : damaged) {
        EXPECT_TRUE(parseDiscTitleCache(c.bytes).isEmpty()) << c.what;
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(c.bytes);
        file.close();
        EXPECT_TRUE(readDiscTitleCache(path).isEmpty()) << c.what;
    }
    EXPECT_TRUE(readDiscTitleCache(dir.path()).isEmpty()); // a folder
}
