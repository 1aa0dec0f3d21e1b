#include "medium/output_choice.h"
#include "medium/recorder_file.h"
#include "medium/sides_file.h"
#include "medium/track_list_choice.h"

#include "support/file_bytes.h"
#include "support/qt_printers.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

// The Recorder window's small settings files: each comes back as written, and what
// cannot be read gives that part's default.

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

    const struct { QByteArray bytes; SideSettings read; } cases[] = {
        {"", {6, SideSplit::FillSideAFirst}}, {"12", {12, SideSplit::FillSideAFirst}},
        {" 12 \r\n balance \r\n", {12, SideSplit::Balance}}, {"61\r\nbalance\r\n", {6, SideSplit::Balance}},
        {"-1\r\nsideways\r\n", {6, SideSplit::FillSideAFirst}}, {"6.5\r\nBalance\r\n", {6, SideSplit::FillSideAFirst}},
        {"\r\nbalance\r\n", {6, SideSplit::Balance}}, // an empty line is not 0 s
    };
    for (const auto& c : cases) {
        writeBytes(path, c.bytes);
        EXPECT_EQ(readSidesFile(path), c.read) << c.bytes.toStdString();
    }
}

TEST(TrackListChoice, comesBackAsWrittenAndDamagedLinesReadAsTheDefaults)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(kTrackListFileName);
    EXPECT_EQ(readTrackListFile(path), TrackListChoice()) << "no file";
    writeTrackListFile(path, {true, 32, true, true});
    EXPECT_EQ(readTrackListFile(path), (TrackListChoice{true, 32, true, true}));
    EXPECT_EQ(bytesOf(path), "1\r\n32\r\n1\r\n1\r\n");

    const struct { QByteArray bytes; TrackListChoice read; } cases[] = {
        {"1", {true, 0, false}}, {" 1 \r\n 100 \r\n 1 \r\n", {true, 100, true}},
        {"yes\r\n1000\r\n2\r\n", {false, 0, false}}, {"0\r\n-1\r\n0\r\n", {false, 0, false}},
        {"1\r\n\r\n1\r\n", {true, 0, true}}, {"1\r\n8\r\n0\r\n1\r\n", {true, 8, false, true}},
        {"1\r\n8\r\n0\r\nja\r\n", {true, 8, false, false}},
    };
    for (const auto& c : cases) {
        writeBytes(path, c.bytes);
        EXPECT_EQ(readTrackListFile(path), c.read) << c.bytes.toStdString();
    }
}

TEST(OutputChoice, comesBackAsWrittenAndAnythingDamagedGivesThatPartsDefault)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(kOutputFileName);
    EXPECT_EQ(readOutputFile(path), OutputChoice()) << "no file";

    const OutputChoice choice{"alsa_output.usb-Deck.iec958-stereo", true, 1.5, "USB Audio Digital Stereo",
                              {GainMode::Album, -2.5}, "alsa_input.usb-Deck.analog-stereo", "USB Audio Line In", true};
    writeOutputFile(path, choice);
    EXPECT_EQ(bytesOf(path), "alsa_output.usb-Deck.iec958-stereo\r\n1\r\n1.5\r\nUSB Audio Digital Stereo\r\nalbum\r\n"
                             "-2.5\r\nalsa_input.usb-Deck.analog-stereo\r\nUSB Audio Line In\r\n1\r\n");
    EXPECT_EQ(readOutputFile(path), choice);

    EXPECT_EQ(parseOutputChoice({"deck", "yes", "2,5"}), (OutputChoice{"deck", false, 0, {}, {}, {}, {}}));
    EXPECT_EQ(parseOutputChoice({"deck", "1"}), (OutputChoice{"deck", true, 0, {}, {}, {}, {}})) << "a lead-in line missing";
    for (const char* leadIn : {"-1", "61", ""})
        EXPECT_EQ(parseOutputChoice({"", "0", leadIn}).leadInSeconds, 0) << leadIn;
    EXPECT_EQ(parseOutputChoice({"", "0", " 60 "}).leadInSeconds, 60);
    EXPECT_EQ(parseOutputChoice({"", "0", "0", "", "track", "16"}).gain, (GainSettings{GainMode::Track, 0}));
    EXPECT_EQ(parseOutputChoice({"", "0", "0", "", "Album", "-15"}).gain, (GainSettings{GainMode::Off, -15}));
}

// Every recorder comes back as it was written; a file that is missing or damaged
// anywhere gives the default.
TEST(RecorderFile, everyRecorderComesBackAsItWasWrittenAndADamagedFileGivesTheDefault)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(kRecorderFileName);
    const auto figuresOf = [](const RecorderKind& kind) {
        return std::tuple(kind.id, kind.name, kind.capacitySeconds, kind.trackLimit, kind.trackUnitSeconds,
                          kind.silence.thresholdDb, kind.silence.minimumSeconds, kind.suggestedGapSeconds, kind.sides);
    };
    EXPECT_EQ(readRecorderFile(path).id, "minidisc-74-sp") << "no file";
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

    // A file from before two-sided recorders ends after the minimum silence.
    writeBytes(path, "custom\r\n45\r\n0\r\n-40\r\n4\r\n");
    EXPECT_EQ(figuresOf(readRecorderFile(path)), figuresOf(customRecorderKind({45, 0, -40, 4, 1})));

    QDir(dir.path()).mkdir("folder.dat");
    EXPECT_EQ(readRecorderFile(dir.filePath("folder.dat")).id, "minidisc-74-sp") << "a folder in its place";
    // Lines as a custom recorder's, each ended by |.
    const auto custom = [](const char* lines) { return "custom\r\n" + QByteArray(lines).replace('|', "\r\n"); };
    const QByteArray damaged[] = {
        "", "minidisc-99-sp\r\n", custom("74|254|-50|"), // a line short
        custom("0|254|-50|1.5|"), custom("74|2.5|-50|1.5|"), custom("74|-1|-50|1.5|"), // no minutes, half a track
        custom("74|254|6|1.5|"), custom("74|254|-50|99|"),                           // a threshold above full scale
        // Lines that would read as 0, a figure in range for all but the minutes.
        custom("74|254|xyz||"), custom("74||-50|1.5|"), custom("74 min|254|-50|1.5|"),
        custom("74|254|-50|1.5|3|"), custom("74|254|-50|1.5|0|"), custom("74|254|-50|1.5|1.5|"), // sides
        custom("74|254|-50|1.5||"), QByteArray("\xff\xfe\x00m\x00", 5),
    };
    for (const QByteArray& bytes : damaged) {
        writeBytes(path, bytes);
        EXPECT_EQ(figuresOf(readRecorderFile(path)), figuresOf(defaultRecorderKind())) << bytes.toStdString();
    }
    // Blanks around the id or a figure and lines beyond the known ones do no harm.
    EXPECT_EQ(parseRecorder({QStringLiteral(" dat-90 "), QStringLiteral("extra")}).id, "dat-90");
    EXPECT_EQ(figuresOf(parseRecorder({"custom", " 80 ", "+12", "-4.5E1", ".5", " 2", "extra"})),
              figuresOf(customRecorderKind({80, 12, -45, 0.5, 2})));
}
