#include "playlist/playlist.h"
#include "recorder/recorder_window.h"

#include "support/fake_dialogs.h"
#include "support/file_bytes.h"
#include "support/qt_printers.h"

#include <QAccessible>
#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <QVBoxLayout>
#include <gtest/gtest.h>

namespace {

class RecorderWindowTest : public ::testing::Test {
protected:
    Playlist playlist;
    FakeDialogs dialogs;
    RecorderWindow window{playlist, dialogs, defaultRecorderKind()};

    template <typename Widget>
    Widget* child(const char* name)
    {
        return window.findChild<Widget*>(QLatin1String(name));
    }
};

} // namespace

TEST_F(RecorderWindowTest, choosingARecorderAnnouncesItAndCustomStartsFromTheLastOne)
{
    QSignalSpy changed(&window, &RecorderWindow::recorderChanged);
    QSignalSpy gap(&window, &RecorderWindow::suggestedGapChosen);
    window.show();
    auto* choice = child<QComboBox>("RecorderChoice");
    auto* minutes = child<QSpinBox>("MinutesBox");
    EXPECT_EQ(choice->currentText(), "MiniDisc 74 min (SP)");
    EXPECT_FALSE(minutes->isVisible());

    QTest::keyClick(choice, Qt::Key_End);
    ASSERT_EQ(changed.size(), 1);
    EXPECT_EQ(window.recorder().id, "custom");
    EXPECT_EQ(window.recorder().trackLimit, 254);
    EXPECT_TRUE(minutes->isVisible());
    EXPECT_EQ(minutes->value(), 74);
    EXPECT_EQ(child<QDoubleSpinBox>("MinimumSilenceBox")->value(), 1.5);
    child<QPushButton>("UseSuggestedGapButton")->click();

    child<QDoubleSpinBox>("MinimumSilenceBox")->setValue(3.5);
    minutes->setValue(90);
    EXPECT_EQ(changed.size(), 3);
    EXPECT_DOUBLE_EQ(changed.back().at(0).value<RecorderKind>().capacitySeconds, 5400);
    child<QPushButton>("UseSuggestedGapButton")->click();

    QTest::keyClick(choice, Qt::Key_Home);
    EXPECT_EQ(window.recorder().name, "MiniDisc 60 min (SP)");
    EXPECT_FALSE(minutes->isVisible());
    EXPECT_EQ(gap.size(), 2);
    EXPECT_EQ(gap.at(0).at(0).toDouble(), 2);
    EXPECT_EQ(gap.at(1).at(0).toDouble(), 4);
}

TEST_F(RecorderWindowTest, followsThePlaylistAndSavesTheTrackList)
{
    window.show();
    playlist.append({QStringLiteral("/m/First.mp3"), 200, 1000});
    playlist.append({QStringLiteral("/cd/Track02.cda"), 4300, 2000});
    QCoreApplication::processEvents();
    EXPECT_EQ(child<QLabel>("FitSummary")->text(),
              "MiniDisc 74 min (SP): 75:02 of 74:00 used, 1:02 over; 2 of 254 tracks");
    auto* gaps = child<QListWidget>("ShortGapList");
    ASSERT_EQ(gaps->count(), 1);
    EXPECT_TRUE(gaps->isVisible());
    EXPECT_EQ(gaps->item(0)->text(), "Track 1 to 2: gap 1 s, the recorder will not split there");
    auto* trackList = child<QPlainTextEdit>("TrackListText");
    EXPECT_EQ(trackList->toPlainText(), "1. First 3:20\n2. Track 2 1:11:40");

    window.setTitleLookup([](const QString& path) { return path.endsWith(".mp3") ? QStringLiteral("Opening") : QString(); });
    QCoreApplication::processEvents();
    EXPECT_EQ(trackList->toPlainText(), "1. Opening 3:20\n2. Track 2 1:11:40");

    // The gains are told only while a loudness mode gives some and the user asks.
    auto* showGain = child<QCheckBox>("ShowGainBox");
    EXPECT_FALSE(showGain->isEnabled());
    window.setGains({{-4.26, EntryGain::From::Measured, {}}, {-1, EntryGain::From::Fallback, {}}});
    showGain->click();
    EXPECT_EQ(trackList->toPlainText(), "1. Opening 3:20, gain -4.3 dB (measured)\n"
                                        "2. Track 2 1:11:40, gain -1.0 dB (until measured)");
    window.setGains({});
    EXPECT_FALSE(showGain->isEnabled());
    EXPECT_EQ(trackList->toPlainText(), "1. Opening 3:20\n2. Track 2 1:11:40");

    QTemporaryDir dir;
    dialogs.fileAnswers.push_back({dir.filePath("disc.txt")});
    child<QPushButton>("SaveAsTextButton")->click();
    EXPECT_EQ(bytesOf(dir.filePath("disc.txt")), "1. Opening 3:20\r\n2. Track 2 1:11:40\r\n");
    child<QPushButton>("SaveAsTextButton")->click(); // cancelled
    EXPECT_TRUE(dialogs.messages.empty());

    playlist.clear();
    QCoreApplication::processEvents();
    EXPECT_EQ(gaps->count(), 0);
    EXPECT_FALSE(gaps->isVisible()) << "no empty box";
    EXPECT_EQ(trackList->toPlainText(), "");
}

TEST_F(RecorderWindowTest, everyControlIsNamedAndReachedByTab)
{
    playlist.append({QStringLiteral("/m/a.mp3"), 100, 1000}); // a gap too short shows the list
    playlist.append({QStringLiteral("/m/b.mp3"), 100, 2000});
    window.show();
    QTest::keyClick(child<QComboBox>("RecorderChoice"), Qt::Key_End); // the custom figures show
    QCoreApplication::processEvents();
    QStringList reached;
    QWidget* widget = child<QComboBox>("RecorderChoice");
    do {
        // A spin box's line edit hands its focus to the box.
        if (widget->isVisible() && (widget->focusPolicy() & Qt::TabFocus) && !widget->focusProxy()) {
            reached << widget->objectName();
            EXPECT_FALSE(QAccessible::queryAccessibleInterface(widget)->text(QAccessible::Name).isEmpty())
                << widget->objectName().toStdString();
        }
        widget = widget->nextInFocusChain();
    } while (widget != child<QComboBox>("RecorderChoice"));
    EXPECT_EQ(reached, QStringList({"RecorderChoice", "MinutesBox", "TrackLimitBox", "ThresholdBox",
                                    "MinimumSilenceBox", "UseSuggestedGapButton", "FitSummary", "ShortGapList",
                                    "TrackListText", "ShowGainBox", "CopyButton", "SaveAsTextButton"}));
    // Every box has a label with a mnemonic that leads to it.
    for (QLabel* label : window.findChildren<QLabel*>()) {
        EXPECT_TRUE(!label->buddy() || label->text().contains(u'&')) << label->text().toStdString();
    }
    EXPECT_EQ(window.scanArea()->count(), 0);
}
