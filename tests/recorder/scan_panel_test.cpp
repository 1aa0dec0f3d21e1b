#include "playlist/playlist.h"
#include "recorder/scan_panel.h"
#include "scan/list_findings.h"
#include "scan/list_gains.h"
#include "support/fake_media_player.h"
#include "support/fake_sample_reader.h"
#include "support/window_controls.h"

#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

TEST(ScanPanel, listsWhatARecorderWouldSplitAndPlaysTheLoudestPassage)
{
    const QString one = "one.flac", two = "two.wav", damaged = "damaged.flac";
    // Two is a stretch of its file, from 1 s to 19 s: the reader gives the stretch.
    const SoundSource stretch { .path = two, .firstFrame = 44100, .endFrame = 19 * 44100 };
    FakeSampleReader reader;
    reader.sounds[one] = { FakeSampleReader::levels({ { 3, 0.5f }, { 2, 0.001f }, { 3, 0.5f } }) };
    reader.sounds[two] = { FakeSampleReader::levels({ { 7, 0.1f }, { 1, 0.891f }, { 10, 0.1f } }) };

    FakeMediaPlayer player;
    QTemporaryDir cache;
    ListFindings findings(reader, cache.filePath("scan_cache.dat"));
    Playlist playlist;
    for (const QString& path : { one, damaged, two })
        playlist.append({ path, 20, 1000 });
    ListGains gains(playlist, findings);
    ScanPanel panel(findings, gains, player);
    findings.setRule({ -50, 1.5 });
    // A track that cannot be read fails alone: the scan goes on to the next.
    const QList<ScanTrack> tracks { { "One", SoundSource { .path = one }, 1.0, false },
                                    { "Damaged", SoundSource { .path = damaged }, 2.0, false }, { "Two", stretch, 3.0, true } };
    findings.setTracks(tracks);
    // Gaps are known before any scan.
    EXPECT_EQ(findingRows(panel), QStringList { "1|One|gap 1.0 s is shorter than 1.5 s" });

    QPushButton* scan = buttonCalled(panel, "&Scan list");
    ASSERT_TRUE(scan);
    scan->click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return scan->text() == "&Scan list"; }, 30000));
    // What every piece of the sound held, at its time.
    const QStringList rows = findingRows(panel);
    EXPECT_EQ(rows.mid(0, 3), (QStringList { "1|One|quiet passage at 0:03 for 2.0 s", "1|One|gap 1.0 s is shorter than 1.5 s",
                                             "1|One|peak -6.0 dB at 0:00" }));
    EXPECT_TRUE(rows.size() == 5 && rows[3].startsWith("2|Damaged|scan failed: ") && rows[4] == "3|Two|peak -1.0 dB at 0:07")
        << rows.join('\n').toStdString();
    EXPECT_EQ(panel.findChild<QLabel*>()->text(), "Loudest peak of the list: -1.0 dB in track 3 at 0:07");

    // 10 s around the loudest block, 7 s into the stretch: 2 s to 12 s of it. Whoever keeps
    // other sounds off is told before it plays and once it is over, whichever way it ends.
    QSignalSpy starting(&panel, &ScanPanel::passageStarting), over(&panel, &ScanPanel::passageOver);
    QObject::connect(&panel, &ScanPanel::passageStarting, [&] { EXPECT_EQ(player.playedSources.size(), starting.size() - 1); });
    buttonCalled(panel, "&Play loudest passage")->click();
    ASSERT_EQ(player.playedSources.size(), 1);
    EXPECT_EQ(player.playedSources[0], (SoundSource { .path = two, .firstFrame = 3 * 44100, .endFrame = 13 * 44100 }));
    EXPECT_EQ(std::tuple(player.silences[0], starting.size(), over.size()), std::tuple(0.0, 1, 0));
    const int stops = player.stops;
    buttonCalled(panel, "S&top")->click();
    EXPECT_EQ(std::tuple(player.stops, over.size()), std::tuple(stops + 1, 1));
    player.finish(); // a run's end is not the passage's
    EXPECT_EQ(over.size(), 1);
    // Heard to its end, the passage lets the output go, or silence would go on to it.
    buttonCalled(panel, "&Play loudest passage")->click();
    const int stopsBeforeEnd = player.stops;
    player.playThrough();
    EXPECT_EQ(std::tuple(over.size(), player.stops), std::tuple(2, stopsBeforeEnd + 1));

    // Under a loudness mode each scanned track tells its gain, and the loudest peak is
    // told, and its passage played, at the gain the run plays it at.
    gains.setSettings({ GainMode::Track, 0 });
    ASSERT_EQ(gains.gains().size(), 3u);
    const double gainTwo = gains.gains()[2].db;
    ASSERT_LT(gainTwo, -0.5);
    const QStringList gained = findingRows(panel);
    EXPECT_EQ(gained.filter("|loudness ").size(), 2) << gained.join('\n').toStdString();
    EXPECT_TRUE(gained.contains(QStringLiteral("3|Two|") + loudnessText(findings.measured(2)->lufs, gains.gains()[2])));
    const QString loudest = panel.findChild<QLabel*>()->text();
    ASSERT_TRUE(loudest.endsWith(" dB in track 3 at 0:07")) << loudest.toStdString();
    EXPECT_NEAR(loudest.section(' ', 5, 5).toDouble(), -1 + gainTwo, 0.06) << loudest.toStdString();
    buttonCalled(panel, "&Play loudest passage")->click();
    EXPECT_EQ(player.gains.last(), gainTwo);
    gains.setSettings({});
    EXPECT_EQ(findingRows(panel), rows);

    // The same list again, as the window brings it at every refresh, changes nothing.
    // Another rule, and back, is judged from what was found, not from the last judgement.
    QSignalSpy changed(&findings, &ListFindings::changed);
    findings.setTracks(tracks);
    EXPECT_EQ(changed.count(), 0);
    findings.setRule({ -50, 2.5 });
    findings.setRule({ -50, 1.5 });
    EXPECT_EQ(findingRows(panel), rows);
    // A changed list keeps what was found in the tracks that stay, wherever they go, and
    // loses it with a track that leaves; a track added is not known yet.
    findings.setTracks({ { "Two", stretch, 0.5, false }, { "Three", SoundSource { .path = "three.wav" }, 0, true } });
    EXPECT_EQ(findingRows(panel), QStringList({ "1|Two|gap 0.5 s is shorter than 1.5 s", "1|Two|peak -1.0 dB at 0:07" }));
    EXPECT_EQ(findings.percent(), 0) << "the list's sound is not all scanned";
    findings.setTracks({ tracks[0], tracks[2] });
    EXPECT_EQ(findingRows(panel), QStringList({ "1|One|gap 1.0 s is shorter than 1.5 s", "2|Two|peak -1.0 dB at 0:07" }));
    findings.setTracks({ { "Two", stretch, 3.0, true } });
    EXPECT_EQ(findings.percent(), 100) << "what is left is all scanned";

    // A scan goes on through a change of rule or a refresh of the same list, and follows
    // the list when it changes; cancelled, it stays so when the list changes before it stops.
    reader.sounds["long.flac"] = { FakeSampleReader::levels({ { 60, 0.5f } }) };
    const ScanTrack longer { "Long", SoundSource { .path = "long.flac" }, 2.0, true };
    findings.setTracks({ longer });
    QSignalSpy scanning(&findings, &ListFindings::scanningChanged);
    scan->click();
    findings.setRule({ -40, 3 });
    findings.setTracks({ longer });
    EXPECT_TRUE(findings.isScanning());
    findings.setTracks({ { "Long", longer.source, 2.0, false }, { "Two", stretch, 3.0, true } });
    const auto scanEnded = [&] { return QTest::qWaitFor([&] { return !findings.isScanning(); }, 60000); };
    ASSERT_TRUE(scanEnded());
    EXPECT_EQ(findingRows(panel), QStringList({ "1|Long|gap 2.0 s is shorter than 3.0 s", "1|Long|peak -6.0 dB at 0:00",
                                                "2|Two|peak -1.0 dB at 0:07" }));
    EXPECT_EQ(scanning.count(), 2) << "one scan, from its start to its end";
    scan->click();
    scan->click(); // cancelled
    findings.setTracks({ { "Two", stretch, 3.0, true } });
    ASSERT_TRUE(scanEnded());
    EXPECT_EQ(findingRows(panel), QStringList());

    // An empty list has nothing to play or scan.
    findings.setTracks({});
    EXPECT_FALSE(buttonCalled(panel, "&Play loudest passage")->isEnabled() || scan->isEnabled());
}
