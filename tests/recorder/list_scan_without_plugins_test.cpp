#include "player/sample_reader.h"
#include "recorder/list_scan.h"

#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>
#include <map>

// A GStreamer without its plugins reads nothing: the scan's thread reports every
// track failed and ends, instead of taking the program down. A test program of its
// own, so that no other test has started GStreamer with its plugins.
TEST(ListScan, withoutGStreamerPluginsEveryTrackFailsAndTheScanEnds)
{
    QTemporaryDir empty;
    qputenv("GST_PLUGIN_SYSTEM_PATH_1_0", empty.path().toUtf8());
    qputenv("GST_PLUGIN_PATH_1_0", empty.path().toUtf8());
    qputenv("GST_REGISTRY_1_0", empty.filePath("registry.bin").toUtf8());

    const auto reader = makeSampleReader();
    ListScan scan(*reader, empty.filePath("scan_cache.dat"));
    std::map<int, QString> failed;
    std::optional<bool> cancelled;
    QObject::connect(&scan, &ListScan::trackFailed, [&](int index, const QString& description) { failed[index] = description; });
    QObject::connect(&scan, &ListScan::finished, [&](bool c) { cancelled = c; });
    scan.start({ SoundSource { .path = empty.filePath("a.wav") }, SoundSource { .path = empty.filePath("b.wav") } });
    ASSERT_TRUE(QTest::qWaitFor([&] { return cancelled.has_value(); }, 30000));
    EXPECT_FALSE(*cancelled);
    ASSERT_EQ(failed.size(), 2u);
    EXPECT_EQ(failed[0], "GStreamer has no playbin element.");
}
