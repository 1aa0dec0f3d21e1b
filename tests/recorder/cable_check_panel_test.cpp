#include "listening/cable_checker.h"
#include "recorder/cable_check_panel.h"

#include "support/fake_cable_probe.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

// The check is offered only with an input to listen on; its findings follow the
// recorder chosen, and a failure says why.
TEST(CableCheckPanel, checksOnAnInputAndShowsWhatCameBack)
{
    FakeCableProbe probe;
    probe.noiseDb = -45;
    CableChecker checker(probe);
    CableCheckPanel panel(checker);
    auto* button = panel.findChild<QPushButton*>("CheckCableButton");
    auto* report = panel.findChild<QLabel*>("CableReport");
    EXPECT_EQ(report->text(), "Choose an input to listen back on to check the cable.");

    panel.setChoice({{}, false, 0, {}, {}, "line_in.monitor", {}});
    panel.setRule({-50, 1.5});
    ASSERT_TRUE(button->isEnabled());
    EXPECT_EQ(report->text(), "");
    button->click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return button->isEnabled(); }, 10000));
    EXPECT_TRUE(report->text().contains("it will not start new tracks"));
    panel.setRule({-40, 1.5});
    EXPECT_TRUE(report->text().contains("below the -40.0 dB the recorder splits at"));

    probe.failure = QStringLiteral("The input gives no sound.");
    button->click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return button->isEnabled(); }, 10000));
    EXPECT_EQ(report->text(), "The cable was not checked: The input gives no sound.");
}
