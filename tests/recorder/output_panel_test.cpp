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

// A remembered output or input that is unplugged stays the choice, so that plugging it in again is enough.
TEST(OutputPanel, listsTheServersDevicesAfterTheDefaultAndKeepsAChoiceThatIsAway)
{
    FakeSoundOutputs outputs, inputs;
    outputs.list = {{"analog", "Built-in Audio Analog Stereo", 44100}, {"spdif", "Built-in Audio Digital Stereo", 48000}};
    inputs.list = {{"alsa_input.line", "Built-in Audio Line In", 44100}, {"deck.monitor", "", 44100}};
    FakeMediaPlayer player;
    OutputPanel panel(outputs, inputs, player, {"usb", true, 2, {}, {}, "alsa_input.usb", "USB Audio Line In"});
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

    // An output that resamples is pointed out; a choice is announced with the device's description.
    outputs.become({{"spdif", "Built-in Audio Digital Stereo", 48000}});
    QSignalSpy chosen(&panel, &OutputPanel::choiceChanged);
    choose(box, 1);
    EXPECT_EQ(chosen.value(0).value(0).value<OutputChoice>(),
              (OutputChoice{"spdif", true, 2, "Built-in Audio Digital Stereo", {}, "alsa_input.usb", "USB Audio Line In"}));
    EXPECT_TRUE(notice->text().contains("48000 Hz")) << notice->text().toStdString();
    choose(panel.findChild<QComboBox*>("LoudnessMode"), 2);
    panel.findChild<QDoubleSpinBox*>("PreampBox")->setValue(-3);
    EXPECT_EQ(chosen.last()[0].value<OutputChoice>().gain, (GainSettings{GainMode::Album, -3}));
    choose(box, 0);
    EXPECT_TRUE(notice->isHidden()) << "the system default";
    outputs.trouble = "No sound server";
    outputs.become({});
    EXPECT_EQ(notice->text(), "No sound server");

    // The input listened on is chosen alike, after Off; one without a description by its name.
    auto* listen = panel.findChild<QComboBox*>("ListenBackChoice");
    EXPECT_EQ(itemsOf(listen),
              QStringList({"Off", "Built-in Audio Line In", "deck.monitor", "USB Audio Line In (not connected)"}));
    choose(listen, 1);
    EXPECT_EQ(panel.choice().listenName + '|' + panel.choice().listenDescription, "alsa_input.line|Built-in Audio Line In");
    choose(listen, 0);
    EXPECT_TRUE(panel.choice().listenName.isEmpty() && panel.choice().listenDescription.isEmpty());

    // The meter shows what the player heard since it last looked.
    auto* meter = panel.findChild<LevelMeter*>("LevelMeter");
    player.heardPeak = {1.0f, 1.0f}; // heard while the window was hidden: long past
    panel.show();
    player.heardPeak = {0.5f, 0.25f};
    EXPECT_TRUE(QTest::qWaitFor([&] { return meter->levelDb(0) > LevelMeter::kFloorDb; }, 10000));
    EXPECT_NEAR(meter->levelDb(0), -6.02, 0.01);
    EXPECT_NEAR(meter->levelDb(1), -12.04, 0.01);

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

// The peak stays for a while after the sound falls, then follows it.
TEST(LevelMeter, holdsThePeakForAWhile)
{
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
