#include "listening/cable_check.h"

#include "common/failure.h"
#include "support/die_with_parent.h"
#include "support/pulse_null_sink.h"
#include "support/pulse_streams.h"

#include <gtest/gtest.h>

namespace {

CableFindings check(CableProbe& probe, const QString& input)
{
    const std::atomic<bool> cancel = false;
    return checkCable(probe, QStringLiteral("deck"), input, cancel);
}

} // namespace

// The deck's output is heard first directly, then over a "cable": a loopback into a
// second sink that delays the sound and changes its level, with a hum mixed in.
TEST(CableCheckSound, measuresWhatComesBackOverTheCable)
{
    PulseNullSink server;
    if (!server.ready())
        GTEST_SKIP() << "no PulseAudio to test with";
    ASSERT_TRUE(server.addSink("line_in", "Line-in"));
    const std::unique_ptr<CableProbe> probe = makeCableProbe();
    check(*probe, "deck.monitor"); // a server just started settles its first streams

    const CableFindings direct = check(*probe, "deck.monitor");
    ASSERT_TRUE(direct.heard);
    EXPECT_TRUE(direct.delaySeconds >= 0 && direct.delaySeconds < 0.03) << direct.delaySeconds;
    EXPECT_NEAR(direct.levelDb, CableCheckSound::kToneDb, 0.5);
    EXPECT_TRUE(!direct.clipped && direct.silenceDb < -90 && direct.secondToneHeard);

    ASSERT_FALSE(pactl({"load-module", "module-loopback", "source=deck.monitor", "sink=line_in", "latency_msec=100"})
                     .isEmpty()) << "no loopback";
    const QString loopback = pactl({"list", "short", "sink-inputs"}).section(u'\t', 0, 0);
    ASSERT_FALSE(loopback.isEmpty());
    pactl({"set-sink-input-volume", loopback, "0.5011872"}); // -6 dB
    QProcess hum; // a steady 50 Hz at -40 dB
    dieWithParent(hum);
    hum.start(QStringLiteral("gst-launch-1.0"), {"-q", "audiotestsrc", "freq=50", "volume=0.01", "!", "pulsesink",
                                                 "device=line_in"});
    ASSERT_TRUE(hum.waitForStarted(5000));
    check(*probe, "line_in.monitor"); // the loopback finds its delay on the first sound through it
    const CableFindings looped = check(*probe, "line_in.monitor");
    ASSERT_TRUE(looped.heard);
    EXPECT_TRUE(looped.delaySeconds > direct.delaySeconds + 0.05 && looped.delaySeconds < 0.4) << looped.delaySeconds;
    EXPECT_NEAR(looped.levelDb, CableCheckSound::kToneDb - 6, 0.5);
    EXPECT_NEAR(looped.silenceDb, -40, 1);
    hum.kill();
    hum.waitForFinished(2000);

    // Clipping and a silent input are the findings' to judge (cable_finding_test); an
    // input that is not there is the probe's to refuse.
    EXPECT_THROW(check(*probe, "nowhere"), Failure);
}
