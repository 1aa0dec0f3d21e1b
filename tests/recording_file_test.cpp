#include "playlist/playlist_table.h"
#include "recording/recording_file.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <map>

namespace {

TEST(RecordingFile, takesTheFirstNumberFreeInBothFormatsAndDeletesEmptyFiles)
{
    const struct {
        std::map<QString, QByteArray> existing; // name -> content
        int format;
        QString written;
        QStringList left; // every Recording file afterwards
    } cases[] = {
        {{}, 1, "Recording 1.m3u", {"Recording 1.m3u"}},
        {{{"Recording 1.m3u", "x"}, {"Recording 2.pls", "x"}}, 2, "Recording 3.pls",
         {"Recording 1.m3u", "Recording 2.pls", "Recording 3.pls"}},
        {{{"Recording 1.pls", ""}}, 1, "Recording 1.m3u", {"Recording 1.m3u"}},
        {{{"Recording 1.m3u", ""}, {"Recording 1.pls", "x"}}, 2, "Recording 2.pls",
         {"Recording 1.pls", "Recording 2.pls"}},
        {{{"Recording 1.m3u", "x"}, {"Recording 2.m3u", ""}}, 2, "Recording 2.pls",
         {"Recording 1.m3u", "Recording 2.pls"}},
    };
    for (const auto& c : cases) {
        QTemporaryDir dir;
        for (const auto& [name, content] : c.existing) {
            QFile file(QDir(dir.path()).filePath(name));
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            file.write(content);
        }
        PlaylistTable table;
        table[table.claimSlot()] = {QStringLiteral("/music/a.mp3"), QStringLiteral("215"), 2000};
        const QString path = hittaledigfil(dir.path(), c.format, table);
        EXPECT_EQ(path, QDir(dir.path()).filePath(c.written));
        EXPECT_GT(QFileInfo(path).size(), 0) << c.written.toStdString();
        EXPECT_EQ(QDir(dir.path()).entryList({QStringLiteral("Recording*")}, QDir::Files, QDir::Name), c.left)
            << c.written.toStdString();
    }
}

} // namespace
