#include "recorder/sides_file.h"

#include "support/file_bytes.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(SidesFile, settingsComeBackAsWrittenAndDamagedLinesReadAsTheDefaults)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(kSidesFileName);
    EXPECT_EQ(readSidesFile(path), SideSettings()) << "no file";
    const SideSettings written[] = {{0, SideSplit::Balance}, {60, SideSplit::FillSideAFirst}};
    for (const SideSettings& settings : written) {
        writeSidesFile(path, settings);
        EXPECT_EQ(readSidesFile(path), settings);
    }
    EXPECT_EQ(bytesOf(path), "60\r\nfill\r\n");

    const struct {
        QByteArray bytes;
        SideSettings read;
    } cases[] = {
        {"", {6, SideSplit::FillSideAFirst}},
        {"12", {12, SideSplit::FillSideAFirst}},
        {" 12 \r\n balance \r\n", {12, SideSplit::Balance}},
        {"61\r\nbalance\r\n", {6, SideSplit::Balance}},
        {"-1\r\nsideways\r\n", {6, SideSplit::FillSideAFirst}},
        {"6.5\r\nBalance\r\n", {6, SideSplit::FillSideAFirst}},
        {"\r\nbalance\r\n", {6, SideSplit::Balance}}, // an empty line is not 0 s
        {"10 s\r\n\r\n", {6, SideSplit::FillSideAFirst}},
    };
    for (const auto& c : cases) {
        writeBytes(path, c.bytes);
        EXPECT_EQ(readSidesFile(path), c.read) << c.bytes.toStdString();
    }
}
