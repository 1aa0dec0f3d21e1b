#include "app/startup.h"

#include "playlist/opened_files.h"
#include "support/file_bytes.h"
#include "support/main_window_fixture.h"

// The fixture's fakes and folders, with no window made by the test: the start-up makes it.
class StartupTest : public MainWindowTest { };

// The splash shows first, and the main window one tick later. "Open with Trelvik":
// the files the program is started with go on the list as a drop of them would, once
// the main window is up; one message names those that cannot go on it.
TEST_F(StartupTest, splashFirstThenTheMainWindowWithTheFilesItIsOpenedWithAddedAsADropAddsThem)
{
    const QDir folder(programDir.path());
    const QString song = mediaFile("song.mp3", 61), listed = mediaFile("listed.wav", 7);
    writeBytes(folder.filePath("list.m3u"), "listed.wav\r\n");
    writeBytes(folder.filePath("notes.txt"), "x");
    writeBytes(folder.filePath("empty.wav"), "");
    QDir::setCurrent(folder.path());
    Startup startup(services(), {"song.mp3", folder.filePath("notes.txt"), folder.filePath("list.m3u"), folder.path(),
                                 "gone.flac", folder.filePath("empty.wav")});
    startup.start();
    const QPointer<SplashWindow> splash = startup.splash();
    ASSERT_TRUE(splash && splash->isVisible());
    EXPECT_EQ(splash->findChild<QLabel*>("Image1")->pixmap().size(), QSize(135, 75)); // the picture was found
    EXPECT_FALSE(startup.mainWindow()) << "nothing is prepared before the tick";

    ASSERT_TRUE(QSignalSpy(&startup, &Startup::mainWindowShown).wait(3000));
    MainWindow* window = startup.mainWindow();
    ASSERT_TRUE(window && window->isVisible());
    QTest::qWait(1500);
    EXPECT_TRUE(!splash || !splash->isVisible());
    ASSERT_EQ(window->playlist().count(), 2);
    EXPECT_EQ(QStringList({window->playlist().at(0).path, window->playlist().at(1).path}), QStringList({song, listed}));
    EXPECT_EQ(dialogs.takeWarnings(), QStringList("These files were not put on the list:\n\n" + folder.filePath("notes.txt")
                                                  + ": not a type Trelvik plays\n" + folder.path() + ": a folder\n"
                                                  + folder.filePath("gone.flac") + ": not found\n"
                                                  + folder.filePath("empty.wav") + ": empty"));
    window->close();
}

TEST(OpenedFiles, cdTracksAreLeftToTheDeviceAndALongRefusalIsCutShort)
{
    const OpenedFiles cd = sortOpenedFiles({"/no/album.cue/Track03.cda", "/no/Audio CD/Track01.cda"});
    EXPECT_EQ(cd.taken, QStringList({"/no/album.cue/Track03.cda", "/no/Audio CD/Track01.cda"}));
    EXPECT_TRUE(cd.refused.isEmpty());

    QStringList names;
    for (int i = 1; i <= 17; ++i)
        names << QStringLiteral("/no/%1.mp3").arg(i);
    const QStringList lines = refusedFilesMessage(sortOpenedFiles(names).refused).split(u'\n');
    ASSERT_EQ(lines.size(), 18);
    EXPECT_EQ(lines[16], "/no/15.mp3: not found");
    EXPECT_EQ(lines[17], "... and 2 more");
}

TEST(VolumeControl, findsTheFirstKnownProgramOnThePath)
{
    QTemporaryDir dir;
    EXPECT_FALSE(findVolumeControl({dir.path()}).found());
    // Added one after the other; the better one is taken once both are there.
    for (const auto& [name, arguments] : {std::pair("gnome-control-center", QStringList{"sound"}),
                                          std::pair("pavucontrol", QStringList{})}) {
        writeBytes(dir.filePath(name), {});
        QFile::setPermissions(dir.filePath(name), QFile::ReadOwner | QFile::ExeOwner);
        const VolumeControl control = findVolumeControl({dir.path()});
        EXPECT_EQ(std::pair(control.program, control.arguments), std::pair(dir.filePath(name), arguments));
    }
}
