#include "recorder/recorder_file.h"

#include "support/file_bytes.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

std::tuple<QString, QString, double, int, int, double, double, double, int> figuresOf(const RecorderKind& kind)
{
    return {kind.id, kind.name, kind.capacitySeconds, kind.trackLimit, kind.trackUnitSeconds,
            kind.silence.thresholdDb, kind.silence.minimumSeconds, kind.suggestedGapSeconds, kind.sides};
}

} // namespace

TEST(RecorderFile, everyRecorderComesBackAsItWasWritten)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(kRecorderFileName);
    std::vector<RecorderKind> kinds = recorderKinds();
    kinds.push_back(customRecorderKind({45, 0, -40, 4, 2}));
    kinds.push_back(customRecorderKind({74.5, 500, -47.5, 2.5}));
    for (const RecorderKind& kind : kinds) {
        writeRecorderFile(path, kind);
        EXPECT_EQ(figuresOf(readRecorderFile(path)), figuresOf(kind)) << kind.id.toStdString();
    }
    EXPECT_EQ(bytesOf(path), "custom\r\n74.5\r\n500\r\n-47.5\r\n2.5\r\n1\r\n");
    writeRecorderFile(path, recorderKinds().front());
    EXPECT_EQ(bytesOf(path), "minidisc-60-sp\r\n");
    EXPECT_EQ(recorderKindById("cassette-c90")->sides, 2);

    // A file from before two-sided recorders ends after the minimum silence.
    writeBytes(path, "custom\r\n45\r\n0\r\n-40\r\n4\r\n");
    EXPECT_EQ(figuresOf(readRecorderFile(path)), figuresOf(customRecorderKind({45, 0, -40, 4, 1})));
}

TEST(RecorderFile, aMissingOrDamagedFileGivesTheDefault)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(kRecorderFileName);
    EXPECT_EQ(readRecorderFile(path).id, "minidisc-74-sp") << "no file";
    QDir(dir.path()).mkdir(kRecorderFileName);
    EXPECT_EQ(readRecorderFile(path).id, "minidisc-74-sp") << "a folder in its place";

    const QByteArray damaged[] = {
        "",
        "minidisc-99-sp\r\n",
        "custom\r\n74\r\n254\r\n-50\r\n",          // a line short
        "custom\r\n0\r\n254\r\n-50\r\n1.5\r\n",    // no minutes
        "custom\r\n74\r\n2.5\r\n-50\r\n1.5\r\n",   // half a track
        "custom\r\n74\r\n-1\r\n-50\r\n1.5\r\n",
        "custom\r\n74\r\n254\r\n6\r\n1.5\r\n",     // a threshold above full scale
        "custom\r\n74\r\n254\r\n-50\r\n99\r\n",
        // Lines that would read as 0, a figure in range for all but the minutes.
        "custom\r\n74\r\n254\r\nxyz\r\n\r\n",
        "custom\r\n74\r\n\r\n-50\r\n1.5\r\n",
        "custom\r\n74 min\r\n254\r\n-50\r\n1.5\r\n",
        "custom\r\n74\r\n254\r\n-50\r\n1.5\r\n3\r\n", // sides
        "custom\r\n74\r\n254\r\n-50\r\n1.5\r\n0\r\n",
        "custom\r\n74\r\n254\r\n-50\r\n1.5\r\n1.5\r\n",
        "custom\r\n74\r\n254\r\n-50\r\n1.5\r\n\r\n",
        QByteArray("\xff\xfe\x00m\x00", 5),
    };
    for (const QByteArray& bytes : damaged) {
        writeBytes(dir.filePath("damaged.dat"), bytes);
        EXPECT_EQ(figuresOf(readRecorderFile(dir.filePath("damaged.dat"))), figuresOf(defaultRecorderKind()))
            << bytes.toStdString();
    }
    // Blanks around the id or a figure and lines beyond the known ones do no harm.
    EXPECT_EQ(parseRecorder({QStringLiteral(" dat-90 "), QStringLiteral("extra")}).id, "dat-90");
    EXPECT_EQ(figuresOf(parseRecorder({"custom", " 80 ", "+12", "-4.5E1", ".5", " 2", "extra"})),
              figuresOf(customRecorderKind({80, 12, -45, 0.5, 2})));
}
