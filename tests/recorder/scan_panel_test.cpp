#include "recorder/list_findings.h"
#include "recorder/scan_panel.h"
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
    ScanPanel panel(findings, player);
    EXPECT_EQ(panel.objectName(), "ScanPanel");
    findings.setRule({ -50, 1.5 });
    findings.setTracks({ { "One", SoundSource { .path = one }, 1.0, false }, { "Two", stretch, 3.0, false },
                      { "Damaged", SoundSource { .path = damaged }, 2.0, true } });
    // Gaps are known before any scan.
    EXPECT_EQ(findingRows(panel), QStringList { "1|One|gap 1.0 s is shorter than 1.5 s" });

    QPushButton* scan = buttonCalled(panel, "&Scan list");
    ASSERT_TRUE(scan);
    scan->click();
    EXPECT_EQ(scan->text(), "&Cancel scan");
    ASSERT_TRUE(QTest::qWaitFor([&] { return scan->text() == "&Scan list"; }, 30000));
    EXPECT_EQ(panel.findChild<QProgressBar*>()->value(), 100);
    const QStringList rows = findingRows(panel);
    ASSERT_EQ(rows.size(), 5) << rows.join('\n').toStdString();
    EXPECT_EQ(rows.mid(0, 4), (QStringList { "1|One|quiet passage at 0:03 for 2.0 s", "1|One|gap 1.0 s is shorter than 1.5 s",
                                             "1|One|peak -6.0 dB at 0:00", "2|Two|peak -1.0 dB at 0:07" }));
    EXPECT_TRUE(rows[4].startsWith("3|Damaged|scan failed: ")) << rows[4].toStdString();
    EXPECT_EQ(panel.findChild<QLabel*>()->text(), "Loudest peak of the list: -1.0 dB in track 2 at 0:07");
    findings.setRule({ -50, 2.5 }); // rejudged at once, as ListFindings pins

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
    buttonCalled(panel, "&Play loudest passage")->click();
    player.playThrough();
    EXPECT_EQ(over.size(), 2);

    // Every control is reached by the keyboard and named for screen readers.
    for (QWidget* widget : panel.findChildren<QWidget*>()) {
        if (qobject_cast<QPushButton*>(widget) || qobject_cast<QTreeWidget*>(widget)) {
            EXPECT_TRUE(widget->focusPolicy() & Qt::TabFocus) << widget->metaObject()->className();
        }
    }
    EXPECT_FALSE(panel.findChild<QProgressBar*>()->accessibleName().isEmpty());
    EXPECT_FALSE(panel.findChild<QTreeWidget*>()->accessibleName().isEmpty());

    // A new list keeps the findings of the tracks it keeps; an empty one has nothing to play or scan.
    findings.setTracks({ { "One", SoundSource { .path = one }, 2.0, true } });
    EXPECT_EQ(findingRows(panel), QStringList({ "1|One|peak -6.0 dB at 0:00" })); // its 2 s passage is short of 2.5 s
    EXPECT_TRUE(buttonCalled(panel, "&Play loudest passage")->isEnabled());
    findings.setTracks({});
    EXPECT_TRUE(findingRows(panel).isEmpty());
    EXPECT_FALSE(buttonCalled(panel, "&Play loudest passage")->isEnabled());
    EXPECT_FALSE(scan->isEnabled());
}
