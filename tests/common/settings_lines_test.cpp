#include "common/settings_lines.h"
#include "support/file_bytes.h"
#include "support/qt_printers.h"

#include <QTemporaryDir>
#include <sys/stat.h>
#include <gtest/gtest.h>

// A settings file is read only when it is a regular file, and only its start: a FIFO
// would block the start for good, a link to /dev/zero would fill the memory.
TEST(SettingsLines, comeOnlyFromTheStartOfARegularFile)
{
    QTemporaryDir dir;
    const QString fifo = dir.filePath("fifo.dat"), zero = dir.filePath("zero.dat"), big = dir.filePath("big.dat");
    ASSERT_EQ(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    ASSERT_TRUE(QFile::link("/dev/zero", zero));
    EXPECT_EQ(readSettingsLines(fifo), QStringList());
    EXPECT_EQ(readSettingsLines(zero), QStringList());
    EXPECT_EQ(readSettingsLines(dir.path()), QStringList());
    EXPECT_EQ(readSettingsLines(dir.filePath("missing.dat")), QStringList());
    writeBytes(big, "1\r\n2\r\n" + QByteArray(10'000'000, 'x'));
    const QStringList lines = readSettingsLines(big);
    ASSERT_EQ(lines.size(), 3);
    EXPECT_EQ(lines[0], "1");
    EXPECT_EQ(lines[2].size(), 4096 - 6);
}
