#include "playlist/playlist.h"
#include "recorder/scan_panel.h"
#include "scan/list_findings.h"
#include "scan/list_gains.h"
#include "support/fake_media_player.h"
#include "support/fake_sample_reader.h"
#include "support/window_controls.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>
#include <gtest/gtest.h>

TEST(ScanPanel, listsWhatARecorderWouldSplitAndPlaysTheLoudestPassage)
{
    const QString one = "one.flac", two = "two.wav", damaged = "damaged.flac";
    // The second track is a stretch of its file, from 1 s to 19 s: the reader gives the stretch.
    const SoundSource stretch { .path = two, .firstFrame = 44100, .endFrame = 19 * 44100 };
    FakeSampleReader reader;
    reader.sounds[one] = { FakeSampleReader::levels({ { 3, 0.5f }, { 2, 0.001f }, { 3, 0.5f } }) };
    reader.sounds[two] = { FakeSampleReader::levels({ { 7, 0.1f }, { 1, 0.891f }, { 10, 0.1f } }) };

    FakeMediaPlayer player;
    QTemporaryDir cache;
    ListFindings findings(reader, cache.filePath("scan_cache.dat"));
    Playlist playlist;
    for (const QString& path : { one, two, damaged })
        playlist.append({ path, 20, 1000 });
    ListGains gains(playlist, findings);
    ScanPanel panel(findings, gains, player);
    findings.setRule({ -50, 1.5 });
    findings.setTracks({ { "One", SoundSource { .path = one }, 1.0, false }, { "Two", stretch, 3.0, false },
                      { "Damaged", SoundSource { .path = damaged }, 2.0, true } });
    // Gaps are known before any scan.
    EXPECT_EQ(findingRows(panel), QStringList { "1|One|gap 1.0 s is shorter than 1.5 s" });

    QPushButton* scan = buttonCalled(panel, "&Scan list");
    ASSERT_TRUE(scan);
    scan->click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return scan->text() == "&Scan list"; }, 30000));
    EXPECT_EQ(panel.findChild<QProgressBar*>()->value(), 100);
    const QStringList rows = findingRows(panel);
    ASSERT_EQ(rows.size(), 5) << rows.join('\n').toStdString();
    EXPECT_EQ(rows.mid(0, 4), (QStringList { "1|One|quiet passage at 0:03 for 2.0 s", "1|One|gap 1.0 s is shorter than 1.5 s",
                                             "1|One|peak -6.0 dB at 0:00", "2|Two|peak -1.0 dB at 0:07" }));
    EXPECT_TRUE(rows[4].startsWith("3|Damaged|scan failed: ")) << rows[4].toStdString();
    EXPECT_EQ(panel.findChild<QLabel*>()->text(), "Loudest peak of the list: -1.0 dB in track 2 at 0:07");

    // 10 s around the loudest block, 7 s into the stretch: 2 s to 12 s of it. Whoever keeps
    // other sounds off is told before it plays and once it is over, whichever way it ends.
    QSignalSpy starting(&panel, &ScanPanel::passageStarting), over(&panel, &ScanPanel::passageOver);
    const QMetaObject::Connection beforePlay
        = QObject::connect(&panel, &ScanPanel::passageStarting, [&] { EXPECT_EQ(player.playedSources.size(), 0); });
    buttonCalled(panel, "&Play loudest passage")->click();
    ASSERT_EQ(player.playedSources.size(), 1);
    EXPECT_EQ(player.playedSources[0], (SoundSource { .path = two, .firstFrame = 3 * 44100, .endFrame = 13 * 44100 }));
    EXPECT_EQ(std::tuple(player.silences[0], starting.size(), over.size()), std::tuple(0.0, 1, 0));
    const int stops = player.stops;
    buttonCalled(panel, "S&top")->click();
    EXPECT_EQ(player.stops, stops + 1);
    EXPECT_EQ(over.size(), 1);
    player.finish(); // a run's end is not the passage's
    EXPECT_EQ(over.size(), 1);
    QObject::disconnect(beforePlay);
    // Heard to its end, the passage lets the output go, or silence would go on to it.
    buttonCalled(panel, "&Play loudest passage")->click();
    const int stopsBeforeEnd = player.stops;
    player.playThrough();
    EXPECT_EQ(std::tuple(over.size(), player.stops), std::tuple(2, stopsBeforeEnd + 1));

    // Under a loudness mode each scanned track tells its gain, and the loudest peak is
    // told, and its passage played, at the gain the run plays it at.
    gains.setSettings({ GainMode::Track, 0 });
    ASSERT_EQ(gains.gains().size(), 3u);
    const double gainTwo = gains.gains()[1].db;
    ASSERT_LT(gainTwo, -0.5);
    const QStringList gained = findingRows(panel);
    EXPECT_EQ(gained.filter("|loudness ").size(), 2) << gained.join('\n').toStdString();
    EXPECT_TRUE(gained.contains(QStringLiteral("2|Two|") + loudnessText(findings.measured(1)->lufs, gains.gains()[1])));
    const QString loudest = panel.findChild<QLabel*>()->text();
    ASSERT_TRUE(loudest.endsWith(" dB in track 2 at 0:07")) << loudest.toStdString();
    EXPECT_NEAR(loudest.section(' ', 5, 5).toDouble(), -1 + gainTwo, 0.06) << loudest.toStdString();
    buttonCalled(panel, "&Play loudest passage")->click();
    EXPECT_EQ(player.gains.last(), gainTwo);
    gains.setSettings({});
    EXPECT_EQ(findingRows(panel).filter("|loudness ").size(), 0);

    // Named for screen readers.
    EXPECT_FALSE(panel.findChild<QProgressBar*>()->accessibleName().isEmpty());
    EXPECT_FALSE(panel.findChild<QTreeWidget*>()->accessibleName().isEmpty());

    // An empty list has nothing to play or scan.
    findings.setTracks({});
    EXPECT_TRUE(findingRows(panel).isEmpty());
    EXPECT_FALSE(buttonCalled(panel, "&Play loudest passage")->isEnabled());
    EXPECT_FALSE(scan->isEnabled());
}

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

    // The same list again, as the window brings it whenever it refreshes: nothing changes.
    QSignalSpy changed(&findings, &ListFindings::changed);
    findings.setTracks({ trackOne, trackTwo });
    EXPECT_EQ(changed.count(), 0);

    // A recorder that wants more silence, and back: judged from what was found, not from the last judgement.
    findings.setRule({ -50, 2.5 });
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
    EXPECT_EQ(findings.percent(), 0);
    findings.setTracks({ trackTwo });
    EXPECT_EQ(findings.percent(), 100) << "what is left is all scanned";
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
