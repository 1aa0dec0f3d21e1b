#include "recorder/track_list_choice.h"

#include "support/file_bytes.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(TrackListChoice, comesBackAsWrittenAndDamagedLinesReadAsTheDefaults)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(kTrackListFileName);
    EXPECT_EQ(readTrackListFile(path), TrackListChoice()) << "no file";
    writeTrackListFile(path, {true, 32, true, true});
    EXPECT_EQ(readTrackListFile(path), (TrackListChoice{true, 32, true, true}));
    EXPECT_EQ(bytesOf(path), "1\r\n32\r\n1\r\n1\r\n");

    const struct {
        QByteArray bytes;
        TrackListChoice read;
    } cases[] = {
        {"1", {true, 0, false}},
        {" 1 \r\n 100 \r\n 1 \r\n", {true, 100, true}},
        {"yes\r\n1000\r\n2\r\n", {false, 0, false}},
        {"0\r\n-1\r\n0\r\n", {false, 0, false}},
        {"1\r\n12.5\r\n1\r\n", {true, 0, true}},
        {"1\r\n\r\n1\r\n", {true, 0, true}},
        {"1\r\n8\r\n0\r\n1\r\n", {true, 8, false, true}},
        {"1\r\n8\r\n0\r\nja\r\n", {true, 8, false, false}},
    };
    for (const auto& c : cases) {
        writeBytes(path, c.bytes);
        EXPECT_EQ(readTrackListFile(path), c.read) << c.bytes.toStdString();
    }
}
