#include "playlist/playlist.h"
#include "recorder/recorder_window.h"

#include "support/fake_dialogs.h"
#include "support/file_bytes.h"
#include "support/qt_printers.h"
#include "support/window_controls.h"

#include <QAccessible>
#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QLineEdit>
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
    RecorderWindow window{playlist, dialogs, defaultRecorderKind(), SideSettings()};

    template <typename Widget>
    Widget* child(const char* name)
    {
        return window.findChild<Widget*>(QLatin1String(name));
    }
};

} // namespace

TEST_F(RecorderWindowTest, followsThePlaylistAndSavesTheTrackList)
{
    window.show();
    playlist.setName(QStringLiteral("Summer, Mix")); // loaded from "Summer, Mix.m3u"
    playlist.append({QStringLiteral("/m/First.mp3"), 200, 1000});
    playlist.append({QStringLiteral("/cd/Track02.cda"), 4300, 2000});
    QCoreApplication::processEvents();
    auto* gaps = child<QListWidget>("ShortGapList");
    ASSERT_EQ(gaps->count(), 1);
    EXPECT_EQ(std::pair(gaps->isVisible(), gaps->item(0)->text()),
              std::pair(true, QStringLiteral("Track 1 to 2: gap 1 s, the recorder will not split there")));
    auto* trackList = child<QPlainTextEdit>("TrackListText");
    // The second starts after the first and its gap, counted in the MiniDisc's 2 s units.
    EXPECT_EQ(trackList->toPlainText(), "00:00 1. First 3:20\n03:22 2. Track 2 1:11:40");

    QString firstTitle = "Opening"; // read again at every refresh
    window.setTitleLookup([&](const QString& path) { return path.endsWith(".mp3") ? firstTitle : QString(); });
    // The gains are told only while a loudness mode gives some and the user asks.
    window.setGains({{-4.26, EntryGain::From::Measured, {}}, {-1, EntryGain::From::Fallback, {}}});
    child<QCheckBox>("ShowGainBox")->click();
    EXPECT_EQ(trackList->toPlainText(), "00:00 1. Opening 3:20, gain -4.3 dB (measured)\n"
                                        "03:22 2. Track 2 1:11:40, gain -1.0 dB (until measured)");
    window.setGains({});
    EXPECT_EQ(trackList->toPlainText(), "00:00 1. Opening 3:20\n03:22 2. Track 2 1:11:40");

    // Titles cut for a deck's title memory; the lead-in is part of a MiniDisc's first track.
    // Kana are spelt for a Japanese deck only while deck titles are asked for.
    auto* kana = child<QCheckBox>("HalfWidthKanaBox");
    child<QCheckBox>("DeckTitlesBox")->click();
    child<QSpinBox>("TitleLengthBox")->setValue(4);
    window.setLeadIn(5);
    EXPECT_EQ(trackList->toPlainText(), "00:00 1. Open 3:20\n03:26 2. Trac 1:11:40");
    firstTitle = "ガンダム";
    kana->click();
    EXPECT_EQ(trackList->toPlainText(), "00:00 1. ｶﾞﾝ 3:20\n03:26 2. Trac 1:11:40");
    child<QCheckBox>("DeckTitlesBox")->click();
    EXPECT_FALSE(kana->isEnabled());
    EXPECT_EQ(trackList->toPlainText(), "00:00 1. ガンダム 3:20\n03:26 2. Track 2 1:11:40");
    firstTitle = "Opening";
    window.setLeadIn(0);

    QTemporaryDir dir;
    dialogs.fileAnswers.push_back({dir.filePath("disc.txt")});
    child<QPushButton>("SaveAsTextButton")->click();
    EXPECT_EQ(bytesOf(dir.filePath("disc.txt")), "00:00 1. Opening 3:20\r\n03:22 2. Track 2 1:11:40\r\n");
    child<QPushButton>("SaveAsTextButton")->click(); // cancelled
    // The titles for a NetMD tool: the disc named after the playlist, as the tracks share no
    // album; each track lasts until the next starts.
    dialogs.fileAnswers.push_back({dir.filePath("disc.csv")});
    dialogs.fileAnswers.push_back({dir.filePath("disc.txt")});
    child<QPushButton>("SaveTitlesButton")->click();
    EXPECT_EQ(bytesOf(dir.filePath("disc.csv")).split('\n').mid(1),
              QByteArrayList({"0,0-0,,,Summer\\, Mix,,4502,\r", "1,,,,Opening,,202,SPS\r", "2,,,,Track 2,,4300,SPS\r", ""}));
    child<QPushButton>("SaveTitlesButton")->click();
    EXPECT_EQ(bytesOf(dir.filePath("disc.txt")), "Opening\r\nTrack 2\r\n");
    EXPECT_TRUE(dialogs.messages.empty());

    playlist.clear();
    QCoreApplication::processEvents();
    EXPECT_EQ(gaps->count() + int(gaps->isVisible()), 0) << "no empty box";
    EXPECT_EQ(trackList->toPlainText(), "");
}

TEST_F(RecorderWindowTest, aMediumWithSidesShowsEachSideAndACustomOneStartsFromTheLastChoice)
{
    QSignalSpy settingsChanged(&window, &RecorderWindow::sideSettingsChanged);
    window.show();
    for (int i = 0; i < 4; ++i)
        playlist.append({QStringLiteral("/m/%1.mp3").arg(i + 1), 500, 0});
    auto* leader = child<QSpinBox>("LeaderBox");
    chooseRecorder(window, "cassette-c60");
    QCoreApplication::processEvents();
    EXPECT_TRUE(leader->isVisible());
    auto* fit = child<QLabel>("FitSummary");

    auto* split = child<QComboBox>("SideSplit");
    split->setCurrentIndex(split->findData(int(SideSplit::Balance)));
    leader->setValue(0);
    QCoreApplication::processEvents();
    EXPECT_EQ(settingsChanged.value(settingsChanged.size() - 1).value(0).value<SideSettings>(),
              (SideSettings{0, SideSplit::Balance}));
    EXPECT_TRUE(fit->text().endsWith("Side B: tracks 3–4, 16:40 of 30:00 used, 13:20 left"));
    // The track list heads each side and counts its start times from the side's beginning.
    EXPECT_EQ(child<QPlainTextEdit>("TrackListText")->toPlainText(),
              "Side A\n00:00 1. 1 8:20\n08:20 2. 2 8:20\nSide B\n00:00 3. 3 8:20\n08:20 4. 4 8:20");

    // A custom recorder starts from the one chosen before, with its sides; one side shows
    // as any one-sided medium. Its figures are announced as they are edited.
    QSignalSpy changed(&window, &RecorderWindow::recorderChanged), gap(&window, &RecorderWindow::suggestedGapChosen);
    const auto announced = [&] { return changed.value(changed.size() - 1).value(0).value<RecorderKind>(); };
    auto* choice = child<QComboBox>("RecorderChoice");
    QTest::keyClick(choice, Qt::Key_End);
    EXPECT_EQ(announced().name, "Custom (30 min a side)");
    // With its figures, the sides' settings and the short gaps showing: every control a
    // screen reader reaches is named, and every box's label has a mnemonic.
    QCoreApplication::processEvents();
    for (QWidget* widget : window.findChildren<QWidget*>()) {
        // A spin box's line edit hands its focus to the box.
        if (widget->isVisible() && (widget->focusPolicy() & Qt::TabFocus) && !widget->focusProxy()) {
            EXPECT_FALSE(QAccessible::queryAccessibleInterface(widget)->text(QAccessible::Name).isEmpty())
                << widget->objectName().toStdString();
        }
    }
    for (QLabel* label : window.findChildren<QLabel*>())
        EXPECT_TRUE(!label->buddy() || label->text().contains(u'&')) << label->text().toStdString();
    child<QSpinBox>("SidesBox")->setValue(1);
    QCoreApplication::processEvents();
    EXPECT_FALSE(leader->isVisible());
    EXPECT_EQ(fit->text(), "Custom (30 min): 33:20 of 30:00 used, 3:20 over; 4 tracks");
    child<QDoubleSpinBox>("MinimumSilenceBox")->setValue(3.5);
    child<QSpinBox>("MinutesBox")->setValue(90);
    EXPECT_EQ(std::tuple(announced().capacitySeconds, announced().silence.minimumSeconds), std::tuple(5400.0, 3.5));
    child<QPushButton>("UseSuggestedGapButton")->click();
    EXPECT_EQ(gap.value(0).value(0).toDouble(), 4.0);
    QTest::keyClick(choice, Qt::Key_Home);
    EXPECT_EQ(announced().name, "MiniDisc 60 min (SP)");
    EXPECT_FALSE(child<QSpinBox>("MinutesBox")->isVisible());
}

// Under a comma locale, a figure typed with a point, as the program writes them, is
// read as written, in the window's own boxes and in the panels placed in it.
TEST(RecorderWindowLocale, figuresTypedWithAPointAreReadAsWrittenUnderACommaLocale)
{
    const QLocale before;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    Playlist playlist;
    FakeDialogs dialogs;
    RecorderWindow window{playlist, dialogs, defaultRecorderKind(), SideSettings()};
    auto* panel = new QDoubleSpinBox;
    window.outputArea()->addWidget(panel);
    for (QDoubleSpinBox* box : {window.findChild<QDoubleSpinBox*>("MinimumSilenceBox"), panel}) {
        box->setDecimals(1);
        box->setRange(0, 100);
        auto* edit = box->findChild<QLineEdit*>();
        edit->selectAll();
        QTest::keyClicks(edit, "1.5");
        box->interpretText();
        EXPECT_EQ(std::pair(box->value(), box->text()), std::pair(1.5, QStringLiteral("1.5"))) << (box == panel);
    }
    QLocale::setDefault(before);
}
