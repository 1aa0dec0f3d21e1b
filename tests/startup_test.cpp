#include "app/startup.h"

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
#include <QTimer>
#include <gtest/gtest.h>

TEST(Startup, splashFirstThenTheMainWindowOneTickLater)
{
    QTemporaryDir dir;
    FakeDialogs dialogs;
    FakeCdDevice cd;
    FakeMediaPlayer player;
    Startup startup({dialogs, cd, player, dir.path(), {}});
    startup.start();

    QPointer<SplashWindow> splash = startup.splash();
    ASSERT_TRUE(splash);
    EXPECT_EQ(splash->objectName(), "Form6");
    EXPECT_EQ(splash->windowTitle(), "Initializing...");
    EXPECT_EQ(splash->size(), QSize(135, 75));
    EXPECT_TRUE(splash->isVisible());
    const auto* picture = splash->findChild<QLabel*>("Image1");
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(picture->pixmap().size(), QSize(135, 75));
    auto* timer = splash->findChild<QTimer*>("Timer1");
    ASSERT_NE(timer, nullptr);
    EXPECT_EQ(timer->interval(), 1200);
    EXPECT_TRUE(cd.commands.isEmpty()) << "nothing is prepared before the tick";

    QSignalSpy shown(&startup, &Startup::mainWindowShown);
    ASSERT_TRUE(shown.wait(3000));
    EXPECT_EQ(shown.count(), 1);
    ASSERT_TRUE(startup.mainWindow());
    EXPECT_TRUE(startup.mainWindow()->isVisible());
    EXPECT_EQ(startup.mainWindow()->model().columnCount(), 4);
    QTest::qWait(50);
    EXPECT_TRUE(!splash || !splash->isVisible());

    QTest::qWait(1500);
    EXPECT_EQ(shown.count(), 1) << "the splash ticks once";
    startup.mainWindow()->close();
}

TEST(VolumeControl, findsTheFirstKnownProgramOnThePath)
{
    QTemporaryDir dir;
    EXPECT_FALSE(findVolumeControl({dir.path()}).found());

    const auto makeProgram = [&](const QString& name) {
        QFile file(dir.filePath(name));
        file.open(QIODevice::WriteOnly);
        file.write("#!/bin/sh\n");
        file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    };
    makeProgram("gnome-control-center");
    VolumeControl found = findVolumeControl({dir.path()});
    EXPECT_EQ(found.program, dir.filePath("gnome-control-center"));
    EXPECT_EQ(found.arguments, QStringList{"sound"});

    makeProgram("pavucontrol");
    found = findVolumeControl({dir.path()});
    EXPECT_EQ(found.program, dir.filePath("pavucontrol"));
    EXPECT_TRUE(found.arguments.isEmpty());
}
