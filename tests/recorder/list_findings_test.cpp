#include "recorder/list_findings.h"
#include "support/generated_media.h"

#include <QSignalSpy>
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
    GeneratedMedia media;
    const QString one = media.makeFromPieces("one.wav", { { 2, "sine 440 vol 0.5" }, { 2, "sine 440 vol 0.001" },
                                                       { 2, "sine 440 vol 0.5" } });
    const QString two = media.makeFromPieces("two.wav", { { 3, "sine 440 vol -1dB" } });
    const QString three = media.makeFromPieces("three.wav", { { 1, "sine 440 vol -10dB" } });
    ASSERT_FALSE(one.isEmpty() || two.isEmpty() || three.isEmpty());
    const ScanTrack trackOne { "One", { .path = one }, 2.0, false }, trackTwo { "Two", { .path = two }, 2.0, true };

    ListFindings findings;
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
    GeneratedMedia media;
    const QString longer = media.makeFromPieces("long.flac", { { 60, "sine 440 vol 0.5" } });
    const QString shorter = media.makeFromPieces("short.wav", { { 1, "sine 440 vol 0.25" } });
    ASSERT_FALSE(longer.isEmpty() || shorter.isEmpty());
    ListFindings findings;
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
