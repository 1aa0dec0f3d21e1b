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
namespace {

template <typename Choice>
void expectRead(const QString& path, Choice (*read)(const QString&), std::initializer_list<std::pair<QByteArray, Choice>> cases)
{
    EXPECT_EQ(read(path), Choice()) << "no file";
    for (const auto& [bytes, choice] : cases) {
        writeBytes(path, bytes);
        EXPECT_EQ(read(path), choice) << bytes.toStdString();
    }
}

} // namespace

TEST(RecorderSettingsFiles, areWrittenLineByLineEveryRecorderComesBackAndDamagedLinesReadAsTheDefaults)
{
    QTemporaryDir dir;
    const QString sides = dir.filePath(kSidesFileName), trackList = dir.filePath(kTrackListFileName);
    expectRead<SideSettings>(sides, readSidesFile, {
        {"12", {12, SideSplit::FillSideAFirst}}, {" 12 \r\n balance \r\n", {12, SideSplit::Balance}},
        {"61\r\nbalance\r\n", {6, SideSplit::Balance}}, {"6.5\r\nBalance\r\n", {6, SideSplit::FillSideAFirst}},
        {"\r\nbalance\r\n", {6, SideSplit::Balance}}, // an empty line is not 0 s
    });
    expectRead<TrackListChoice>(trackList, readTrackListFile, {
        {" 1 \r\n 100 \r\n 1 \r\n", {true, 100, true}}, {"yes\r\n1000\r\n2\r\n", {false, 0, false}},
        {"1\r\n\r\n1\r\n", {true, 0, true}}, {"1\r\n8\r\n0\r\nja\r\n", {true, 8, false, false}},
    });
    writeSidesFile(sides, {0, SideSplit::Balance});
    EXPECT_EQ(readSidesFile(sides), (SideSettings{0, SideSplit::Balance}));
    writeSidesFile(sides, {60, SideSplit::FillSideAFirst});
    writeTrackListFile(trackList, {true, 32, true, true});
    EXPECT_EQ(bytesOf(sides) + bytesOf(trackList), "60\r\nfill\r\n1\r\n32\r\n1\r\n1\r\n");
    EXPECT_EQ(std::tuple(readSidesFile(sides), readTrackListFile(trackList)),
              std::tuple(SideSettings{60, SideSplit::FillSideAFirst}, TrackListChoice{true, 32, true, true}));

    const QString output = dir.filePath(kOutputFileName);
    expectRead<OutputChoice>(output, readOutputFile, {
        {"deck\r\nyes\r\n2,5", {"deck", false, 0, {}, {}, {}, {}}},
        {"deck\r\n1", {"deck", true, 0, {}, {}, {}, {}}}, // a lead-in line missing
        {"\r\n0\r\n61\r\n", {}}, {"\r\n0\r\n 60 \r\n", {"", false, 60, {}, {}, {}, {}}},
        {"\r\n0\r\n0\r\n\r\ntrack\r\n16", {"", false, 0, {}, {GainMode::Track, 0}, {}, {}}},
        {"\r\n0\r\n0\r\n\r\nAlbum\r\n-15", {"", false, 0, {}, {GainMode::Off, -15}, {}, {}}},
    });
    const OutputChoice choice{"alsa_output.usb-Deck.iec958-stereo", true, 1.5, "USB Audio Digital Stereo",
                              {GainMode::Album, -2.5}, "alsa_input.usb-Deck.analog-stereo", "USB Audio Line In", true};
    writeOutputFile(output, choice);
    EXPECT_EQ(bytesOf(output), "alsa_output.usb-Deck.iec958-stereo\r\n1\r\n1.5\r\nUSB Audio Digital Stereo\r\nalbum\r\n"
                               "-2.5\r\nalsa_input.usb-Deck.analog-stereo\r\nUSB Audio Line In\r\n1\r\n");
    EXPECT_EQ(readOutputFile(output), choice);

    // Every recorder comes back as it was written; a file that is missing or damaged
    // anywhere gives the default (a folder in its place is SettingsLines' to pin).
    const QString path = dir.filePath(kRecorderFileName);
    const auto figuresOf = [](const RecorderKind& kind) {
        return std::tuple(kind.id, kind.name, kind.capacitySeconds, kind.trackLimit, kind.trackUnitSeconds,
                          kind.silence.thresholdDb, kind.silence.minimumSeconds, kind.suggestedGapSeconds, kind.sides);
    };
    EXPECT_EQ(readRecorderFile(path).id, "minidisc-74-sp") << "no file";
    std::vector<RecorderKind> kinds = recorderKinds();
    kinds.insert(kinds.end(), {customRecorderKind({45, 0, -40, 4, 2}), customRecorderKind({74.5, 500, -47.5, 2.5})});
    for (const RecorderKind& kind : kinds) {
        writeRecorderFile(path, kind);
        EXPECT_EQ(figuresOf(readRecorderFile(path)), figuresOf(kind)) << kind.id.toStdString();
    }
    EXPECT_EQ(bytesOf(path), "custom\r\n74.5\r\n500\r\n-47.5\r\n2.5\r\n1\r\n");
    writeRecorderFile(path, recorderKinds().front()); // a known recorder by its id alone
    EXPECT_EQ(bytesOf(path), "minidisc-60-sp\r\n");

    // A file from before two-sided recorders ends after the minimum silence.
    writeBytes(path, "custom\r\n45\r\n0\r\n-40\r\n4\r\n");
    EXPECT_EQ(figuresOf(readRecorderFile(path)), figuresOf(customRecorderKind({45, 0, -40, 4, 1})));

    // Lines as a custom recorder's, each ended by |.
    const auto custom = [](const char* lines) { return "custom\r\n" + QByteArray(lines).replace('|', "\r\n"); };
    const QByteArray damaged[] = {
        "", "minidisc-99-sp\r\n", custom("74|254|-50|"), // a line short
        custom("0|254|-50|1.5|"), custom("74|2.5|-50|1.5|"), custom("74|254|6|1.5|"), // a threshold above full scale
        custom("74|254|-50|99|"), custom("74|254|xyz||"), // a line that would read as 0, in range for all but the minutes
        custom("74 min|254|-50|1.5|"), custom("74|254|-50|1.5|3|"), custom("74|254|-50|1.5||"), QByteArray("\xff\xfe\x00m\x00", 5),
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
