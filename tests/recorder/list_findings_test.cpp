#include "recorder/list_findings.h"
#include "support/fake_sample_reader.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace {

// Every track's findings, as "number|text".
QStringList allTexts(const ListFindings& findings)
{
    QStringList texts;
    for (int index = 0; index < findings.tracks().size(); ++index) {
        for (const QString& text : findings.texts(index))
            texts << QString::number(index + 1) + "|" + text;
    }
    return texts;
}

bool waitForScanEnd(const ListFindings& findings)
{
    return QTest::qWaitFor([&] { return !findings.isScanning(); }, 60000);
}

} // namespace

// Findings are judged anew under another rule at once, and are lost only with
// their track: a list that changes keeps those of the tracks that stay.
TEST(ListFindings, anotherRuleRejudgesAndAChangedListDropsOnlyWhatLeftIt)
{
    const QString one = "one.wav", two = "two.wav", three = "three.wav";
    FakeSampleReader reader;
    reader.sounds[one] = { FakeSampleReader::levels({ { 2, 0.5f }, { 2, 0.001f }, { 2, 0.5f } }) };
    reader.sounds[two] = { FakeSampleReader::levels({ { 3, 0.891f } }) }; // -1 dB
    reader.sounds[three] = { FakeSampleReader::levels({ { 1, 0.316f } }) };
    const ScanTrack trackOne { "One", { .path = one }, 2.0, false }, trackTwo { "Two", { .path = two }, 2.0, true };

    QTemporaryDir cache;
    ListFindings findings(reader, cache.filePath("scan_cache.dat"));
    findings.setRule({ -50, 1.5 });
    findings.setTracks({ trackOne, trackTwo });
    findings.scan();
    ASSERT_TRUE(waitForScanEnd(findings));
    EXPECT_EQ(findings.percent(), 100);
    const QStringList scanned = { "1|quiet passage at 0:02 for 2.0 s", "1|peak -6.0 dB at 0:00",
                                  "2|peak -1.0 dB at 0:00" };
    EXPECT_EQ(allTexts(findings), scanned);
    EXPECT_EQ(findings.loudestText(), "Loudest peak of the list: -1.0 dB in track 2 at 0:00");

    // The same list again, as the window brings it whenever it refreshes: nothing changes.
    QSignalSpy changed(&findings, &ListFindings::changed);
    findings.setTracks({ trackOne, trackTwo });
    EXPECT_EQ(changed.count(), 0);

    // A recorder that wants more silence: the passage is too short now, and so is the gap.
    findings.setRule({ -50, 2.5 });
    EXPECT_EQ(allTexts(findings), QStringList({ "1|gap 2.0 s is shorter than 2.5 s", "1|peak -6.0 dB at 0:00",
                                                "2|peak -1.0 dB at 0:00" }));
    findings.setRule({ -50, 1.5 });
    EXPECT_EQ(allTexts(findings), scanned);

    // Another gap and a track added: what was found stays; the new track is not known yet.
    const ScanTrack added { "Three", { .path = three }, 0, true };
    findings.setTracks({ { "One", { .path = one }, 0.5, false }, { "Two", { .path = two }, 2.0, false }, added });
    EXPECT_EQ(allTexts(findings), QStringList({ "1|quiet passage at 0:02 for 2.0 s", "1|gap 0.5 s is shorter than 1.5 s",
                                                "1|peak -6.0 dB at 0:00", "2|peak -1.0 dB at 0:00" }));
    EXPECT_EQ(findings.percent(), 0) << "the list's sound is not all scanned";

    // The first track leaves the list: only its findings go.
    findings.setTracks({ { "Two", { .path = two }, 2.0, false }, added });
    EXPECT_EQ(allTexts(findings), QStringList({ "1|peak -1.0 dB at 0:00" }));
    findings.setTracks({ trackOne, trackTwo });
    EXPECT_EQ(allTexts(findings), QStringList({ "2|peak -1.0 dB at 0:00" }));
}

// A scan goes on through a change of rule or a refresh of the same list, and
// follows the list when it changes.
TEST(ListFindings, aRunningScanGoesOnAndFollowsTheList)
{
    const QString longer = "long.flac", shorter = "short.wav";
    FakeSampleReader reader;
    reader.sounds[longer] = { FakeSampleReader::levels({ { 60, 0.5f } }) };
    reader.sounds[shorter] = { FakeSampleReader::levels({ { 1, 0.25f } }) };
    QTemporaryDir cache;
    ListFindings findings(reader, cache.filePath("scan_cache.dat"));
    QSignalSpy scanning(&findings, &ListFindings::scanningChanged);
    findings.setTracks({ { "Long", { .path = longer }, 2.0, true } });
    findings.scan();
    ASSERT_TRUE(findings.isScanning());
    findings.setRule({ -40, 3 });
    findings.setTracks({ { "Long", { .path = longer }, 2.0, true } });
    EXPECT_TRUE(findings.isScanning());

    findings.setTracks({ { "Long", { .path = longer }, 2.0, false }, { "Short", { .path = shorter }, 2.0, true } });
    EXPECT_TRUE(findings.isScanning());
    ASSERT_TRUE(waitForScanEnd(findings));
    EXPECT_EQ(allTexts(findings), QStringList({ "1|gap 2.0 s is shorter than 3.0 s", "1|peak -6.0 dB at 0:00",
                                                "2|peak -12.0 dB at 0:00" }));
    EXPECT_EQ(scanning.count(), 2) << "one scan, from its start to its end";

    // A scan cancelled stays cancelled when the list changes before it has stopped.
    findings.scan();
    findings.cancel();
    findings.setTracks({ { "Short", { .path = shorter }, 2.0, true } });
    ASSERT_TRUE(waitForScanEnd(findings));
    EXPECT_EQ(allTexts(findings), QStringList());
}
