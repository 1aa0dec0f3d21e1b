#include "listening/cable_check.h"
#include "listening/cable_checker.h"

#include "support/fake_cable_probe.h"

#include <QCoreApplication>
#include <QTest>
#include <gtest/gtest.h>

namespace {

CableProbe::Heard heardThrough(FakeCableProbe& probe)
{
    const std::atomic<bool> cancel = false;
    return probe.probe({}, {}, CableCheckSound::samples(), CableCheckSound::kListenAfterSeconds, cancel);
}

} // namespace

// The delay to the sample, the level, clipping and the noise in the silence, whatever
// the cable does to the sound.
TEST(CableCheck, findsTheDelayLevelClippingAndNoiseOfWhatCameBack)
{
    struct Case { qint64 delayFrames; double gainDb, noiseDb; bool heard; double levelDb; bool clipped; double silenceDb; };
    const Case cases[] = {
        {441, 0, -HUGE_VAL, true, -12, false, -HUGE_VAL}, {0, -30, -70, true, -42, false, -70},
        {20000, 14, -90, true, 0, true, -90},   // the tone's top is cut at full scale
        {441, -60, -40, false, 0, false, 0},     // lost in the noise
        {30000, 0, -HUGE_VAL, false, 0, false, 0}, // later than anything is listened for
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.delayFrames);
        FakeCableProbe probe;
        std::tie(probe.delayFrames, probe.gainDb, probe.noiseDb) = std::tuple(c.delayFrames, c.gainDb, c.noiseDb);
        const CableFindings found = findCable(heardThrough(probe));
        ASSERT_EQ(found.heard, c.heard);
        if (!c.heard)
            continue;
        EXPECT_NEAR(found.delaySeconds, double(c.delayFrames) / CableProbe::kRate, 0.5 / CableProbe::kRate);
        EXPECT_EQ(found.clipped, c.clipped);
        if (!c.clipped) { EXPECT_NEAR(found.levelDb, c.levelDb, 0.1); }
        EXPECT_NEAR(std::max(found.silenceDb, -200.0), std::max(c.silenceDb, -200.0), 0.1); // digital silence: -inf
        EXPECT_TRUE(found.secondToneHeard && found.steady);
    }

    // A drop-out that swallows the second tone is told.
    FakeCableProbe probe;
    CableProbe::Heard heard = heardThrough(probe);
    const qint64 secondTone = heard.sentAt + probe.delayFrames
                              + qint64((CableCheckSound::kLeadSeconds + CableCheckSound::kFirstToneSeconds
                                        + CableCheckSound::kSilenceSeconds) * CableProbe::kRate);
    std::fill(heard.samples.begin() + secondTone, heard.samples.end(), 0.0f);
    EXPECT_FALSE(findCable(heard).secondToneHeard);

    // A busy machine that loses the start of the first tone puts the tones out of step:
    // the check is made again, up to three times in all, and the second tone still tells
    // the round trip, clear of the silence.
    for (const int broken : {0, 2, 3}) {
        SCOPED_TRACE(broken);
        FakeCableProbe probe;
        probe.brokenProbes = broken;
        const std::atomic<bool> cancel = false;
        const CableFindings found = checkCable(probe, {}, {}, cancel);
        EXPECT_EQ(probe.probes, std::min(broken + 1, 3));
        EXPECT_EQ(found.steady, broken < 3);
        EXPECT_NEAR(found.delaySeconds, 0.01, 0.5 / CableProbe::kRate);
        EXPECT_EQ(found.silenceDb, -HUGE_VAL);
    }
}

TEST(CableCheck, reportsTheFindingsAgainstTheRecordersThreshold)
{
    const SilenceRule rule{-50, 1.5};
    CableFindings findings{true, 0.1234, -18.04, false, -62.5, true, true};
    EXPECT_EQ(cableReport(findings, rule).mid(1, 1), QStringList("The tone sent at -12.0 dB arrives at -18.0 dB (-6.0 dB)."));
    findings = {true, 0.004, -9.5, true, -46, false, false};
    EXPECT_EQ(cableReport(findings, rule),
              QStringList({"Round trip: 4 ms.", "The tone sent at -12.0 dB arrives at -9.5 dB (+2.5 dB).",
                           "It clips: lower the recorder's input level or the output's volume.",
                           "The silence arrives at -46.0 dB, the recorder splits below -50.0 dB: it will not start "
                           "new tracks; lower the noise or choose a recorder that splits at a higher level.",
                           "The second tone did not come back: the sound broke off during the check."}));
    findings.silenceDb = -HUGE_VAL;
    findings.secondToneHeard = true;
    EXPECT_TRUE(cableReport(findings, rule).join(u' ').contains("The silence arrives at digital silence, below"));
    EXPECT_TRUE(cableReport(findings, rule).back().startsWith("The sound broke up on its way during the check"));
    EXPECT_TRUE(cableReport({}, rule).join(u'|').startsWith("The input hears nothing of the test tone"));
}

// A window closed during a check stops it: nothing is told to what is gone.
TEST(CableChecker, goingStopsTheCheckOnWithoutAnAnswer)
{
    FakeCableProbe probe;
    probe.untilCancelled = true;
    int answers = 0;
    {
        CableChecker checker(probe);
        QObject::connect(&checker, &CableChecker::checked, [&] { ++answers; });
        QObject::connect(&checker, &CableChecker::failed, [&] { ++answers; });
        checker.start({}, QStringLiteral("line_in.monitor"));
        ASSERT_TRUE(QTest::qWaitFor([&] { return probe.probes == 1; }, 10000));
    }
    QCoreApplication::processEvents();
    EXPECT_EQ(answers, 0);
}
