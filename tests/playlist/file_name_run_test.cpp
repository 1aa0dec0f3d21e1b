#include "common/failure.h"
#include "playlist/file_name_run.h"
#include "support/failure_text.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

// The run holds the folder followed directly by the names. Only names of the extension that ends the run are added, in dialog order, unless
// every type was shown; the run is split at the chosen names, so an extension inside
// a name does not cut it.
TEST(FileNameRun, holdsTheFolderAndTheNamesOfWhichThoseOfTheEndingExtensionAreAddedAndPassesThroughAFileThatIsGoneAfterwards)
{
    EXPECT_EQ(QStringList({fileNameRun({"/music/song.mp3"}), fileNameRun({"/music/a.mp3", "/music/b.mp3"}), fileNameRun({"/a.mp3", "/b.mp3"})}),
              QStringList({"/music/song.mp3", "/musica.mp3b.mp3", "/a.mp3b.mp3"}));
    const struct { QStringList chosen; bool everyType; QStringList names; } cases[] = {
        {{"/m/my.mp3.old.mp3", "/m/a.mp3"}, false, {"my.mp3.old.mp3", "a.mp3"}},
        {{"/m/x.mpeg", "/m/y.mpe"}, false, {"y.mpe"}}, {{"/m/a.mp3", "/m/notes.txt"}, false, {}},
        {{"/m/a.flac", "/m/b.OPUS", "/m/notes.txt", "/m/c.mp3", "/m/l.m3u"}, true, {"a.flac", "b.OPUS", "c.mp3", "l.m3u"}},
        {{"/m/a.wv", "/m/notes.txt"}, true, {"a.wv"}},
    };
    for (const auto& [chosen, everyType, names] : cases) {
        const QString run = fileNameRun(chosen);
        EXPECT_EQ(namesToAdd(run, chosen, everyType), names) << run.toStdString();
    }
    // A run that lost names on the way through the file is a failure, not a guess.
    EXPECT_THROW(namesToAdd("/ma", {"/m/a\nb.mp3", "/m/c.mp3"}, false), Failure);

    QTemporaryDir dir;
    const QString run = QString::fromUtf8("/musik/Sång åtta.mp3Två.mp3");
    EXPECT_EQ(passThroughFileList(run, dir.path()), run);
    EXPECT_TRUE(QDir(dir.path()).isEmpty());
    // The reason names the file, which the system's reason alone does not.
    EXPECT_TRUE(failureOf([&] { passThroughFileList(run, dir.filePath("missing")); })
                    .startsWith("The chosen files cannot be added: " + dir.filePath("missing/filelist.tmp")
                                + " cannot be written or read back: "));
}
