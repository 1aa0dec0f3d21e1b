#include "common/playlist_table.h"
#include "recording/recording_file.h"
#include "support/file_bytes.h"
#include "support/qt_printers.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <map>

TEST(RecordingFile, takesTheFirstNumberFreeInBothFormatsAndDeletesEmptyFiles)
{
    const struct {
        std::map<QString, QByteArray> existing; // name -> content
        PlaylistFormat format;
        QString written;
        QStringList left; // every Recording file afterwards
    } cases[] = {
        {{{"Recording 1.m3u", "x"}, {"Recording 2.pls", "x"}}, PlaylistFormat::Pls, "Recording 3.pls",
         {"Recording 1.m3u", "Recording 2.pls", "Recording 3.pls"}},
        {{{"Recording 1.m3u", ""}, {"Recording 1.pls", "x"}}, PlaylistFormat::Pls, "Recording 2.pls",
         {"Recording 1.pls", "Recording 2.pls"}},
        {{{"Recording 1.m3u", "x"}, {"Recording 2.m3u", ""}}, PlaylistFormat::Pls, "Recording 2.pls",
         {"Recording 1.m3u", "Recording 2.pls"}},
    };
    PlaylistTable table;
    table.push_back(PlaylistEntry {"/music/a.mp3", 215, 2000});
    for (const auto& c : cases) {
        QTemporaryDir dir;
        for (const auto& [name, content] : c.existing)
            writeBytes(dir.filePath(name), content);
        const QString path = saveNextRecordingPlaylist(dir.path(), c.format, table).path;
        EXPECT_EQ(path, dir.filePath(c.written));
        EXPECT_GT(QFileInfo(path).size(), 0) << qPrintable(c.written);
        EXPECT_EQ(QDir(dir.path()).entryList({"Recording*"}, QDir::Files, QDir::Name), c.left) << qPrintable(c.written);
    }

    // A folder of a Recording name is passed over. (An entry the file cannot hold is
    // handed back: recording_run_test's "When done" names it.)
    QTemporaryDir dir;
    QDir(dir.path()).mkdir("Recording 1.m3u");
    EXPECT_EQ(saveNextRecordingPlaylist(dir.path(), PlaylistFormat::M3u, table).path, dir.filePath("Recording 2.m3u"));
}
