#include "app/startup.h"

#include "common/check_box.h"
#include "help_windows/volume_control.h"
#include "support/fake_cd_device.h"
#include "support/fake_dialogs.h"
#include "support/fake_media_player.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

TEST(Startup, splashFirstThenTheMainWindowOneTickLater)
{
    QTemporaryDir dir;
    FakeDialogs dialogs;
    FakeCdDevice cd;
    FakeMediaPlayer player;
    Startup startup({dialogs, cd, player, dir.path(), dir.path(), {}}, {});
    startup.start();

    QPointer<SplashWindow> splash = startup.splash();
    ASSERT_TRUE(splash);
    EXPECT_EQ(splash->windowTitle(), "Initializing...");
    EXPECT_TRUE(splash->isVisible());
    const auto* picture = splash->findChild<QLabel*>("Image1");
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(picture->pixmap().size(), QSize(135, 75)); // the picture was found
    EXPECT_TRUE(cd.commands.isEmpty()) << "nothing is prepared before the tick";

    QSignalSpy shown(&startup, &Startup::mainWindowShown);
    ASSERT_TRUE(shown.wait(3000));
    ASSERT_TRUE(startup.mainWindow());
    EXPECT_TRUE(startup.mainWindow()->isVisible());
    QTest::qWait(1500);
    EXPECT_TRUE(!splash || !splash->isVisible());
    EXPECT_EQ(shown.count(), 1) << "the splash ticks once";
    startup.mainWindow()->close();
}

// "Open with Trelvik": the files the program is started with go on the list as a
// drop of them would put them, once the main window is up.
TEST(Startup, filesItIsOpenedWithAreAddedAsADropAddsThem)
{
    QTemporaryDir dir;
    FakeDialogs dialogs;
    FakeCdDevice cd;
    FakeMediaPlayer player;
    const QDir folder(dir.path());
    const auto makeFile = [&](const QString& name, const QByteArray& content) {
        QFile file(folder.filePath(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(content);
        return file.fileName();
    };
    const QString song = makeFile("song.mp3", "x"), listed = makeFile("listed.wav", "x");
    player.durations = {{song, 61}, {listed, 7}};
    const QString list = makeFile("list.m3u", "listed.wav\r\n");
    QDir::setCurrent(dir.path());
    Startup startup({dialogs, cd, player, dir.path(), dir.path(), {}},
                    {"song.mp3", makeFile("notes.txt", "x"), list, dir.path()});
    startup.start();

    QSignalSpy shown(&startup, &Startup::mainWindowShown);
    ASSERT_TRUE(shown.wait(3000));
    MainWindow* window = startup.mainWindow();
    ASSERT_TRUE(window);
    QStringList paths;
    for (int i = 0; i < window->playlist().count(); ++i)
        paths << window->playlist().at(i).path;
    EXPECT_EQ(paths, QStringList({song, listed}));
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_TRUE(window->ui.saveWhenDoneBox->toolTip().contains(dir.path())) << "where Recording playlists go";
    window->close();
}

TEST(VolumeControl, findsTheFirstKnownProgramOnThePath)
{
    QTemporaryDir dir;
    EXPECT_FALSE(findVolumeControl({dir.path()}).found());
    // Added one after the other; the better one is taken once both are there.
    const struct {
        const char* name;
        QStringList arguments;
    } programs[] = {{"gnome-control-center", {"sound"}}, {"pavucontrol", {}}};
    for (const auto& step : programs) {
        QFile program(dir.filePath(step.name));
        ASSERT_TRUE(program.open(QIODevice::WriteOnly));
        program.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        const VolumeControl control = findVolumeControl({dir.path()});
        EXPECT_EQ(control.program, dir.filePath(step.name));
        EXPECT_EQ(control.arguments, step.arguments);
    }
}
