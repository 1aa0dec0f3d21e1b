#include "player/sample_reader.h"
#include "recorder/list_scan.h"

#include <QCoreApplication>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>
#include <map>

namespace {

const char kChildVariable[] = "TRELVIK_SCAN_WITHOUT_PLUGINS";

// A GStreamer without its plugins reads nothing: the scan's thread reports every
// track failed and ends, instead of taking the program down. Run in a process of
// its own: GStreamer reads its plugins once per process, so any test after it in
// the same one would have none either.
TEST(ListScan, withoutGStreamerPluginsEveryTrackFailsAndTheScanEnds)
{
    if (qEnvironmentVariableIsSet(kChildVariable)) {
        QTemporaryDir empty;
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
        return;
    }
    QTemporaryDir empty;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(kChildVariable, "1");
    env.insert("GST_PLUGIN_SYSTEM_PATH_1_0", empty.path());
    env.insert("GST_PLUGIN_PATH_1_0", empty.path());
    env.insert("GST_REGISTRY_1_0", empty.filePath("registry.bin"));
    QProcess child;
    child.setProcessEnvironment(env);
    child.setProcessChannelMode(QProcess::ForwardedChannels);
    child.start(QCoreApplication::applicationFilePath(),
                {QStringLiteral("--gtest_filter=ListScan.withoutGStreamerPluginsEveryTrackFailsAndTheScanEnds")});
    ASSERT_TRUE(child.waitForFinished(60000));
    EXPECT_EQ(child.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(child.exitCode(), 0) << "the scan without plugins failed; its output is above";
}

} // namespace
