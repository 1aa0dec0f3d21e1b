// Times each list edit on a shown window with 1,000 and with 32,768 entries: the
// table change, the rebuilt rows, the new total and the repaint. Prints the median
// wall-clock time and the median processor time of the program's thread, which other
// busy programs on the machine do not inflate.

#include "app/main_window.h"
#include "common/flat_button.h"
#include "common/up_down_control.h"
#include "support/fake_cable_probe.h"
#include "support/fake_input_listener.h"
#include "support/fake_dialogs.h"
#include "support/fake_discs.h"
#include "support/fake_media_player.h"
#include "support/fake_keep_awake.h"
#include "support/fake_other_sounds.h"
#include "support/fake_sample_reader.h"
#include "support/fake_sound_outputs.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QTemporaryDir>
#include <QToolButton>
#include <QTreeView>
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <functional>
#include <vector>

namespace {

constexpr int kRepeats = 21;

void refill(MainWindow& window, int count)
{
    Playlist& playlist = window.playlist();
    {
        const Playlist::Batch batch(playlist);
        while (playlist.count() < count) {
            const int slot = playlist.count();
            playlist.append({QStringLiteral("/music/album %1/track %2.mp3").arg(slot / 12).arg(slot % 12),
                             180 + slot % 120, 2000});
        }
    }
    QApplication::processEvents();
}

void selectRow(MainWindow& window, int row)
{
    window.ui.playlistView->selectionModel()->setCurrentIndex(
        window.model().index(row - 1, 0), QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    QApplication::processEvents();
}

void press(MainWindow& window, Qt::Key key, Qt::KeyboardModifiers modifiers = {})
{
    QKeyEvent event(QEvent::KeyPress, key, modifiers);
    QApplication::sendEvent(window.ui.playlistView, &event);
}

double threadMilliseconds()
{
    timespec now;
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return now.tv_sec * 1e3 + now.tv_nsec / 1e6;
}

struct Timing {
    double wall;
    double cpu;
};

double medianOf(std::vector<double> times)
{
    std::nth_element(times.begin(), times.begin() + times.size() / 2, times.end());
    return times[times.size() / 2];
}

// Median milliseconds of the edit, each run after prepare() and ending with the repaint.
Timing median(const std::function<void()>& prepare, const std::function<void()>& edit)
{
    std::vector<double> wall;
    std::vector<double> cpu;
    for (int i = 0; i < kRepeats; ++i) {
        prepare();
        QElapsedTimer timer;
        timer.start();
        const double cpuStart = threadMilliseconds();
        edit();
        QApplication::processEvents();
        cpu.push_back(threadMilliseconds() - cpuStart);
        wall.push_back(timer.nsecsElapsed() / 1e6);
    }
    return {medianOf(wall), medianOf(cpu)};
}

void measure(int count)
{
    QTemporaryDir programDir;
    FakeDialogs dialogs;
    FakeDiscs discs;
    FakeMediaPlayer player;
    FakeSampleReader reader;
    FakeSoundOutputs outputs;
    FakeOtherSounds otherSounds;
    FakeKeepAwake keepAwake;
    FakeCableProbe cableProbe;
    FakeInputListener inputListener;
    const QString dir = programDir.path();
    MainWindow window({dialogs, discs, player, reader, outputs, outputs, cableProbe, inputListener, otherSounds, keepAwake, dir, dir, dir, {}});
    window.setAttribute(Qt::WA_DeleteOnClose, false);
    window.setUpColumns();
    window.show();
    window.ui.playlistView->setFocus();
    refill(window, count);
    const int middle = count / 2;

    struct Edit {
        const char* name;
        std::function<void()> prepare;
        std::function<void()> edit;
    };
    const Edit edits[] = {
        {"remove first row (Del)", [&] { refill(window, count); selectRow(window, 1); },
         [&] { press(window, Qt::Key_Delete); }},
        {"move up (arrow)", [&] { selectRow(window, middle); },
         [&] { window.ui.moveButtons->upButton()->click(); }},
        {"move down (Shift+Down)", [&] { selectRow(window, middle); },
         [&] { press(window, Qt::Key_Down, Qt::ShiftModifier); }},
        {"change gap (F2)", [&] { selectRow(window, middle); dialogs.inputAnswers = {QStringLiteral("3")}; },
         [&] { press(window, Qt::Key_F2); }},
        {"shuffle", [] {}, [&] { window.ui.shuffle->click(); }},
        {"clear list", [&] { refill(window, count); }, [&] { window.ui.clearList->click(); }},
    };
    for (const Edit& e : edits) {
        const Timing t = median(e.prepare, e.edit);
        std::printf("%6d entries  %-24s %8.2f ms wall %8.2f ms cpu\n", count, e.name, t.wall, t.cpu);
    }
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    std::printf("median of %d runs per edit, repaint included\n", kRepeats);
    for (int count : {1000, kMostPlaylistEntries})
        measure(count);
    return 0;
}
