#include "recorder/level_meter.h"
#include "recorder/output_panel.h"

#include "support/fake_media_player.h"
#include "support/fake_sound_outputs.h"
#include "support/window_controls.h"

#include <QComboBox>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

namespace {

QStringList itemsOf(const QComboBox* box)
{
    QStringList items;
    for (int index = 0; index < box->count(); ++index)
        items << box->itemText(index);
    return items;
}

} // namespace

// A remembered output that is unplugged stays the choice, so that plugging it in again is enough.
TEST(OutputPanel, listsTheServersOutputsAfterTheDefaultAndKeepsAChoiceThatIsAway)
{
    FakeSoundOutputs outputs, inputs;
    outputs.list = {{"analog", "Built-in Audio Analog Stereo", 44100}, {"spdif", "Built-in Audio Digital Stereo", 48000}};
    FakeMediaPlayer player;
    const OutputChoice away {"usb", true, 2, {}, {}, {}, {}};
    OutputPanel panel(outputs, inputs, player, away);
    auto* box = panel.findChild<QComboBox*>("OutputChoice");
    auto* notice = panel.findChild<QLabel*>("OutputNotice");
    EXPECT_EQ(itemsOf(box), QStringList({"System default", "Built-in Audio Analog Stereo",
                                         "Built-in Audio Digital Stereo", "usb (not connected)"}));
    EXPECT_EQ(box->currentText(), "usb (not connected)");
    EXPECT_TRUE(notice->text().contains("not connected")) << notice->text().toStdString();

    outputs.become({{"usb", "USB Audio Interface", 44100}, {"analog", "Built-in Audio Analog Stereo", 44100}});
    EXPECT_EQ(itemsOf(box), QStringList({"System default", "USB Audio Interface", "Built-in Audio Analog Stereo"}));
    EXPECT_EQ(box->currentText(), "USB Audio Interface");
    EXPECT_TRUE(notice->isHidden());

    // An output that resamples is pointed out; choosing is announced by name.
    outputs.become({{"spdif", "Built-in Audio Digital Stereo", 48000}});
    QSignalSpy chosen(&panel, &OutputPanel::choiceChanged);
    choose(box, 1);
    ASSERT_EQ(chosen.size(), 1);
    EXPECT_EQ(chosen[0][0].value<OutputChoice>().outputName, "spdif");
    EXPECT_EQ(panel.choice(), (OutputChoice{"spdif", true, 2, "Built-in Audio Digital Stereo", {}, {}, {}}));
    EXPECT_TRUE(notice->text().contains("48000 Hz")) << notice->text().toStdString();

    choose(panel.findChild<QComboBox*>("LoudnessMode"), 2);
    panel.findChild<QDoubleSpinBox*>("PreampBox")->setValue(-3);
    EXPECT_EQ(chosen.last()[0].value<OutputChoice>().gain, (GainSettings{GainMode::Album, -3}));

    panel.setKeepOffProblem("Other sounds cannot be kept off the recording: refused");
    EXPECT_TRUE(notice->text().contains("refused"));
    choose(box, 0);
    panel.setKeepOffProblem({});
    EXPECT_TRUE(notice->isHidden()) << "the system default";
    outputs.trouble = "No sound server";
    outputs.become({});
    EXPECT_EQ(notice->text(), "No sound server");

    // A device may describe itself at any length: shown cut short, whole as a tip, and
    // the panel stays as wide as a screen; away, it is still shown as the server last described it.
    const QString endless = QString(5000, u'W');
    outputs.become({{"long", endless, 44100}});
    OutputPanel wide(outputs, inputs, player, {"gone", true, 2, endless, {}, {}, {}});
    auto* wideBox = wide.findChild<QComboBox*>("OutputChoice");
    ASSERT_EQ(wideBox->count(), 3);
    EXPECT_EQ(wideBox->itemText(1).size(), 60);
    EXPECT_TRUE(wideBox->itemText(2).endsWith("\u2026 (not connected)"));
    EXPECT_EQ(wideBox->itemData(1, Qt::ToolTipRole).toString(), endless);
    EXPECT_LT(wide.sizeHint().width(), 1000);
    outputs.become({{"emoji", QString(58, u'x') + QString::fromUtf8("\U0001F3B5\U0001F3B5"), 44100}});
    EXPECT_EQ(wideBox->itemText(1), QString(58, u'x') + QChar(0x2026)) << "not through a character's halves";
}

TEST(OutputPanel, theMeterShowsWhatThePlayerHeardAndHoldsItsPeak)
{
    FakeSoundOutputs outputs, inputs;
    FakeMediaPlayer player;
    OutputPanel panel(outputs, inputs, player, {});
    auto* meter = panel.findChild<LevelMeter*>("LevelMeter");
    player.heardPeak = {1.0f, 1.0f}; // heard while the window was hidden: long past
    panel.show();
    player.heardPeak = {0.5f, 0.25f};
    EXPECT_TRUE(QTest::qWaitFor([&] { return meter->levelDb(0) > LevelMeter::kFloorDb; }, 10000));
    EXPECT_NEAR(meter->levelDb(0), -6.02, 0.01);
    EXPECT_NEAR(meter->levelDb(1), -12.04, 0.01);

    // The peak stays for a while after the sound falls, then follows it.
    LevelMeter held;
    held.showPeak({1.0f, 0.0f});
    held.showPeak({0.1f, 0.0f});
    EXPECT_NEAR(held.levelDb(0), -20, 0.01);
    EXPECT_NEAR(held.heldDb(0), 0, 0.01);
    EXPECT_EQ(held.heldDb(1), LevelMeter::kFloorDb);
    for (int update = 0; update < LevelMeter::kHoldUpdates; ++update)
        held.showPeak({0.1f, 0.0f});
    EXPECT_NEAR(held.heldDb(0), -20, 0.01);
}

// The input listened on is chosen as the output is: off first, then the server's
// inputs by description; one that is away stays chosen under its last description.
TEST(OutputPanel, listsTheInputsToListenBackOnAfterOffAndKeepsOneThatIsAway)
{
    FakeSoundOutputs outputs, inputs;
    inputs.list = {{"alsa_input.line", "Built-in Audio Line In", 44100}, {"deck.monitor", "", 44100}};
    FakeMediaPlayer player;
    OutputPanel panel(outputs, inputs, player, {{}, false, 0, {}, {}, "alsa_input.usb", "USB Audio Line In"});
    auto* box = panel.findChild<QComboBox*>("ListenBackChoice");
    EXPECT_EQ(itemsOf(box),
              QStringList({"Off", "Built-in Audio Line In", "deck.monitor", "USB Audio Line In (not connected)"}));
    choose(box, 1);
    EXPECT_EQ(panel.choice().listenName + '|' + panel.choice().listenDescription, "alsa_input.line|Built-in Audio Line In");
    inputs.become({{"alsa_input.usb", "USB Audio Line In", 48000}});
    EXPECT_EQ(itemsOf(box), QStringList({"Off", "USB Audio Line In", "Built-in Audio Line In (not connected)"}));
    choose(box, 0);
    EXPECT_TRUE(panel.choice().listenName.isEmpty() && panel.choice().listenDescription.isEmpty());
}
