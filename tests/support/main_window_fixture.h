#pragma once

#include "app/main_window.h"
#include "common/busy_state.h"
#include "common/check_box.h"
#include "common/flat_button.h"
#include "common/percent_bar.h"
#include "common/up_down_control.h"
#include "recorder/recorder_window.h"
#include "support/fake_dialogs.h"
#include "support/fake_discs.h"
#include "support/fake_cable_probe.h"
#include "support/fake_input_listener.h"
#include "support/fake_media_player.h"
#include "support/fake_keep_awake.h"
#include "support/fake_other_sounds.h"
#include "support/fake_sample_reader.h"
#include "support/fake_sound_outputs.h"
#include "support/file_bytes.h"

#include <QTemporaryDir>
#include <QtTest>
#include <QtWidgets>
#include <gtest/gtest.h>
#include <memory>

// A main window loaded as at start-up, on fakes, with its own program directory.
class MainWindowTest : public ::testing::Test {
protected:
    QTemporaryDir programDir;
    FakeDialogs dialogs;
    FakeDiscs discs;
    FakeMediaPlayer player;
    FakeSampleReader sampleReader;
    FakeSoundOutputs soundOutputs, soundInputs;
    FakeCableProbe cableProbe;
    FakeInputListener inputListener;
    FakeOtherSounds otherSounds;
    FakeKeepAwake keepAwake;
    std::unique_ptr<MainWindow> window;

    // Not made until something is kept there.
    QString dataDir() const { return programDir.filePath("data"); }

    AppServices services()
    {
        return {dialogs, discs, player, sampleReader, soundOutputs, soundInputs, cableProbe, inputListener,
                otherSounds, keepAwake, programDir.path(), dataDir(), programDir.path(), {}};
    }

    // Loads the window and sets up its columns, as the splash tick does.
    MainWindow& load()
    {
        window = std::make_unique<MainWindow>(services());
        window->setAttribute(Qt::WA_DeleteOnClose, false);
        window->setUpColumns();
        window->setUpVolumeButton();
        return *window;
    }

    // A file of a byte in the program directory, which the player takes to last seconds.
    QString mediaFile(const QString& name, double seconds)
    {
        const QString path = programDir.filePath(name);
        writeBytes(path, "x");
        player.durations[path] = seconds;
        return path;
    }

    // A control of the Recorder window by its object name.
    template <typename Widget>
    Widget* recorderControl(const char* name) { return window->recorderWindow().findChild<Widget*>(QLatin1String(name)); }

    // Lets the window's timer of that design name go off now.
    void tick(const char* name) { QMetaObject::invokeMethod(window->findChild<QTimer*>(name), "timeout"); }

    // Shows the window, which from now on deletes itself on closing, as in the program.
    QPointer<MainWindow> releaseToClose()
    {
        window->setAttribute(Qt::WA_DeleteOnClose);
        window->show();
        return window.release();
    }

    // Puts entries straight on the playlist; the player takes them to last as long as the list says.
    void fill(std::initializer_list<PlaylistEntry> entries)
    {
        for (const PlaylistEntry& entry : entries) {
            player.durations.insert(entry.path, player.durations.value(entry.path, double(entry.length)));
            window->playlist().append(entry);
        }
    }
};
