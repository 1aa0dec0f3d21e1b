#include "recorder/output_choice.h"

#include "support/file_bytes.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

OutputChoice named(const QString& outputName, bool keepOtherSoundsOff)
{
    OutputChoice choice;
    choice.outputName = outputName;
    choice.keepOtherSoundsOff = keepOtherSoundsOff;
    return choice;
}

} // namespace

TEST(OutputChoice, comesBackAsWrittenAndAnythingDamagedGivesThatPartsDefault)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(kOutputFileName);
    EXPECT_EQ(readOutputFile(path), OutputChoice()) << "no file";

    const OutputChoice choice{"alsa_output.usb-Deck.iec958-stereo", true, 1.5, "USB Audio Digital Stereo",
                              {GainMode::Album, -2.5}, "alsa_input.usb-Deck.analog-stereo", "USB Audio Line In"};
    writeOutputFile(path, choice);
    EXPECT_EQ(bytesOf(path), "alsa_output.usb-Deck.iec958-stereo\r\n1\r\n1.5\r\nUSB Audio Digital Stereo\r\nalbum\r\n"
                             "-2.5\r\nalsa_input.usb-Deck.analog-stereo\r\nUSB Audio Line In\r\n");
    EXPECT_EQ(readOutputFile(path), choice);

    const auto read = [](QStringList lines) { return parseOutputChoice(lines); };
    EXPECT_EQ(read({"deck", "yes", "2,5"}), named("deck", false));
    EXPECT_EQ(read({"deck", "1"}), named("deck", true)) << "a lead-in line missing";
    for (const char* leadIn : {"-1", "61", "nan", "inf", "1e999", "0x10", ""})
        EXPECT_EQ(read({"", "0", leadIn}).leadInSeconds, 0) << leadIn;
    EXPECT_EQ(read({"", "0", " 60 "}).leadInSeconds, 60);
    EXPECT_EQ(read({"", "0", "0", "", "track", "16"}).gain, (GainSettings{GainMode::Track, 0}));
    EXPECT_EQ(read({"", "0", "0", "", "Album", "-15"}).gain, (GainSettings{GainMode::Off, -15}));
}
