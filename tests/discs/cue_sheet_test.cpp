#include "discs/cue_disc.h"
#include "discs/cue_sheet.h"
#include "support/failure_text.h"
#include "support/generated_media.h"
#include "support/qt_printers.h"

#include <QDir>
#include <QStringEncoder>
#include <cerrno>
#include <cstring>
#include <sys/stat.h>
#include <gtest/gtest.h>

namespace {

// frames of stereo 16-bit sound at the rate, made by sox in the type the name's extension gives.
QString tone(GeneratedMedia& media, const QString& name, qint64 frames, int rate = 44100)
{
    return media.make(QStringLiteral("sox"), { "-r", QString::number(rate), "-c", "2", "-n", "-b", "16", "-e", "signed-integer",
                                               name, "synth", QString::number(frames) + "s", "sine", "440" }, name);
}

SoundSource stretch(SoundSource::Kind kind, const QString& path, qint64 firstSector, qint64 endFrame, bool bigEndian = false)
{
    return { kind, path, 0, firstSector * kFramesPerSector, endFrame, bigEndian };
}

// Each track as whether it is audio, its sectors and its sound.
using Tracks = std::vector<std::tuple<bool, qint64, SoundSource>>;
Tracks tracksOf(const Disc& disc)
{
    Tracks tracks;
    for (const DiscTrack& track : disc.tracks)
        tracks.emplace_back(track.audio, track.sectors, track.sound);
    return tracks;
}

} // namespace

static void PrintTo(const SoundSource& sound, std::ostream* out)
{
    *out << int(sound.kind) << " " << sound.path.toStdString() << " " << sound.firstFrame << "-" << sound.endFrame
         << (sound.bigEndian ? " big-endian" : "");
}

TEST(CueSheet, readsSheetsWrittenLooselyInAnyEncodingAndSaysWhichLineAndWhyOfThoseThatGiveNoTrackList)
{
    const CueSheet sheet = parseCueSheet("REM GENRE Pop\n" "performer \"The Band\"\n\n" "TITLE Plain Words \t \n"
                                         "CATALOG 1234567890123\n"
                                         "FILE \"disc one.bin\" motorola\n"
                                         "\tTRACK 01 MODE1/2048\n" "\t\tINDEX 01 00:00:00\n"
                                         "  track 2 audio\n"
                                         "    TITLE \"Say \"Hi\"\"\n" "    FLAGS DCP\n" "    PREGAP 00:02:00\n"
                                         "    index 01 100:01:74\n" "    INDEX 02 100:02:00\n" "    SOMETHING NEW\n"
                                         "  TRACK 03 AUDIO\n"
                                         "    PERFORMER Guest\n" "    INDEX 00 101:00:00\n"
                                         "FILE next.wav WAVE\n"
                                         "    INDEX 01 00:00:00\n" "    POSTGAP 00:01:00\n");
    const CueSheet expected { "Plain Words", "The Band",
                              { { "disc one.bin", CueFile::Type::RawBigEndian }, { "next.wav", CueFile::Type::Media } },
                              { { 1, false, 2048, "", "", 0, 0 },
                                { 2, true, 2352, "Say \"Hi\"", "", 0, (100 * 60 + 1) * 75 + 74 },
                                { 3, true, 2352, "", "Guest", 1, 0 } } };
    EXPECT_EQ(sheet, expected);

    const QString text = "FILE \"å.bin\" BINARY\r\nTRACK 01 AUDIO\r\nTITLE \"Café €\"\r\nINDEX 01 00:00:00\r\n";
    for (const QStringEncoder::Encoding encoding : { QStringEncoder::Utf16LE, QStringEncoder::Utf16BE }) {
        QStringEncoder encoder(encoding, QStringEncoder::Flag::WriteBom);
        const CueSheet utf16 = parseCueSheet(encoder.encode(text));
        EXPECT_EQ(utf16.files.value(0).name + utf16.tracks.value(0).title, u"å.binCafé €") << int(encoding);
    }

    const QByteArray ends[] = { "\r\n", "\n", "\r" };
    for (const QByteArray& end : ends) {
        const QByteArray tracks = "FILE a.bin BINARY" + end + "TRACK 01 AUDIO" + end + "TITLE \"";
        const QByteArray index = "\"" + end + "INDEX 01 00:00:00" + end;
        EXPECT_EQ(parseCueSheet(tracks + "Caf\xE9 \x80" + index).tracks[0].title, u"Café €") << end.toHex().constData();
        const CueSheet utf8 = parseCueSheet("\xEF\xBB\xBF" "FILE \"\xC3\xA5.bin\" BINARY" + end + tracks.mid(17) + "Caf\xC3\xA9" + index);
        EXPECT_EQ(utf8.files[0].name + utf8.tracks[0].title, u"å.binCafé") << end.toHex().constData();
    }

    const QByteArray track = "FILE a.bin BINARY\nTRACK 01 AUDIO\n";
    const auto notATime = [](const char* time) {
        return QStringLiteral("Line 3: \"%1\" is not a time as minutes:seconds:frames, with under 60 seconds and under 75 frames.")
            .arg(QLatin1String(time));
    };
    const std::pair<QByteArray, QString> cases[] = {
        { "TRACK 01 AUDIO\n", "Line 1: TRACK comes before any FILE." },
        { "FILE a.bin BINARY\nINDEX 01 00:00:00\n", "Line 2: INDEX comes before any TRACK." },
        { "FILE \"\" BINARY\n", "Line 1: FILE names no file." },
        { track + "INDEX 01 00:60:00\n", notATime("00:60:00") }, { track + "INDEX 01 00:00:75\n", notATime("00:00:75") },
        { track + "PREGAP 00:02\n", notATime("00:02") },
        { "FILE a.bin BINARY\nTRACK x AUDIO\n", "Line 2: \"x\" is not a track number (1 to 99)." },
        { track + "INDEX 1x 00:00:00\n", "Line 3: \"1x\" is not an index number (0 to 99)." },
        { track + "INDEX 01 00:00:00\nTRACK 01 AUDIO\nINDEX 01 00:01:00\n", "Line 4: track 1 comes after track 1; the numbers must rise." },
        { track + "INDEX 00 00:00:00\nTRACK 02 AUDIO\nINDEX 01 00:01:00\n", "Line 2: track 1 has no INDEX 01, where it starts." },
        { track + "INDEX 01 00:00:00\nINDEX 00 00:01:00\n", "Line 4: INDEX 00 comes after INDEX 01; the numbers must rise." },
        { track + "INDEX 00 00:00:00\nFILE b.bin BINARY\nINDEX 01 00:00:00\nTRACK 02 AUDIO\nINDEX 00 00:03:00\nINDEX 01 00:02:00\n",
          "Line 8: INDEX 01 lies before the track's INDEX 00." },
        { track + "INDEX 01 00:05:00\nTRACK 02 AUDIO\nINDEX 01 00:04:74\n", "Line 5: track 2 starts before track 1 in the same file." },
        { "REM nothing\r\nFILE a.bin BINARY\r\n", "The sheet has no TRACK line." },
        // A CD has 99 tracks at most: a sheet of tens of thousands of files is no CD's.
        { QByteArray("FILE a.bin BINARY\n").repeated(52418) + track,
          "Line 101: more than 100 FILE lines, more than the 99 tracks of a CD can use." },
    };
    for (const auto& c : cases)
        EXPECT_EQ(failureOf([&] { parseCueSheet(c.first); }), c.second) << c.first.left(60).constData();
    EXPECT_EQ(parseCueSheet(QByteArray("FILE a.bin BINARY\n").repeated(100) + "TRACK 01 AUDIO\nINDEX 01 00:00:00\n").files.size(), 100);
}

// Track n of the disc is the sheet's TRACK n, as a drive numbers its tracks: a sheet
// that starts at 2 or skips a number has no such track.
TEST(CueDisc, imagesAndRipsGiveEachTrackItsStretchUnderTheSheetsNumbersAndWhatCannotBePlayedIsRefused)
{
    GeneratedMedia media;
    QDir(media.path({})).mkdir("sub");
    // 600 whole sectors and a part of one, which no track gets.
    const QString bin = media.write("sub/tones.bin", QByteArray((600 * kFramesPerSector + 100) * 4, '\0'));
    const auto raw = [&](qint64 first, qint64 end, bool bigEndian = false) {
        return stretch(SoundSource::Kind::RawImage, bin, first, end * kFramesPerSector, bigEndian);
    };
    const QByteArray tracks = "  TRACK 01 AUDIO\n    INDEX 01 00:00:00\n"
                              "  TRACK 02 AUDIO\n    TITLE \"Two\"\n    INDEX 00 00:02:00\n    INDEX 01 00:04:00\n"
                              "  TRACK 03 AUDIO\n    INDEX 01 00:06:30\n";
    for (const bool bigEndian : { false, true }) {
        const QByteArray file = bigEndian ? "FILE \"sub\\TONES.BIN\" MOTOROLA\n" : "FILE \"sub/tones.bin\" BINARY\n";
        EXPECT_EQ(tracksOf(discOfCueSheet(media.write("disc.cue", file + tracks))),
                  (Tracks { { true, 300, raw(0, 300, bigEndian) }, { true, 180, raw(300, 480, bigEndian) },
                            { true, 120, raw(480, 600, bigEndian) } }));
    }
    const Disc numbered = discOfCueSheet(media.write("numbered.cue", "FILE sub/tones.bin BINARY\n"
                                                                     "TRACK 02 AUDIO\nINDEX 01 00:00:00\n"
                                                                     "TRACK 03 AUDIO\nINDEX 01 00:01:00\n"
                                                                     "TRACK 05 AUDIO\nINDEX 01 00:03:00\n"));
    EXPECT_EQ(tracksOf(numbered), (Tracks { { false, 0, {} }, { true, 75, raw(0, 75) }, { true, 150, raw(75, 225) },
                                            { false, 0, {} }, { true, 375, raw(225, 600) } }));

    const QString wav = tone(media, "rip.wav", 225 * kFramesPerSector + 100);
    const QString flac = tone(media, "rip.flac", 96000, 48000); // two seconds: 88200 frames at 44.1 kHz
    const QString iso = media.write("data.iso", QByteArray(2048 * 10 + 5, '\0'));
    const Disc disc = discOfCueSheet(media.write("rip.cue", "FILE data.iso BINARY\nTRACK 01 MODE1/2048\nINDEX 01 00:00:00\n"
                                                            "FILE \"rip.wav\" WAVE\nTRACK 02 AUDIO\nINDEX 01 00:00:00\n"
                                                            "TRACK 03 AUDIO\nINDEX 01 00:01:00\n"
                                                            "FILE \"RIP.flac\" FLAC\nTRACK 04 AUDIO\nINDEX 01 00:00:50\n"));
    EXPECT_EQ(tracksOf(disc), (Tracks { { false, 10, {} }, { true, 75, stretch(SoundSource::Kind::File, wav, 0, 75 * kFramesPerSector) },
                                        { true, 150, stretch(SoundSource::Kind::File, wav, 75, 225 * kFramesPerSector + 100) },
                                        { true, 100, stretch(SoundSource::Kind::File, flac, 50, 88200) } }));

    // What cannot be played is refused, naming the sheet and the file. Something other
    // than a regular file, as the sheet or as a file it names, is said to be what it is;
    // a FIFO is never waited on, a device never read.
    media.write("tones.bin", QByteArray(10 * 2352, '\0'));
    media.write("noise.wav", QByteArray(5000, 'x'));
    for (const QString& type : { QStringLiteral(".bin"), QStringLiteral(".cue") }) { // a folder, a FIFO and a link loop of each
        QDir(media.path({})).mkdir("folder" + type);
        ASSERT_EQ(mkfifo(QFile::encodeName(media.path("fifo" + type)).constData(), 0600), 0);
        ASSERT_TRUE(QFile::link(media.path("loop" + type + "2"), media.path("loop" + type)));
        ASSERT_TRUE(QFile::link(media.path("loop" + type), media.path("loop" + type + "2")));
    }
    const QString loop = "cannot be read: " + QString::fromLocal8Bit(std::strerror(ELOOP)) + ".";
    const QByteArray track = "TRACK 01 AUDIO\nINDEX 01 00:00:00\n";
    const auto names = [&](const QString& file) { return "FILE " + file.toUtf8() + " BINARY\n" + track; };
    const std::pair<QByteArray, QString> cases[] = {
        { "FILE album.flac WAVE\n" + track, "names a file that is not there: album.flac" },
        { "FILE noise.wav WAVE\n" + track, "names a file whose length its headers do not give: noise.wav" },
        { "FILE tones.bin BINARY\nTRACK 01 AUDIO\nINDEX 01 00:00:10\n", "starts track 1 at or past the end of tones.bin." },
        { "FILE tones.bin BINARY\n" + track + "TRACK 02 AUDIO\nINDEX 01 00:00:00\n",
          "leaves track 1 empty: track 2 starts at the same place in tones.bin." },
        { "FILE tones.bin BINARY\n", "cannot be used. The sheet has no TRACK line." },
        { "REM " + QByteArray(1024 * 1024, 'x'), "is over 1 MiB, too large to be one." },
        { names("folder.bin"), "names folder.bin, which is a folder." },
        { names("FIFO.BIN"), "names FIFO.BIN, which is not a regular file." }, // found in any case, as other files are
        { names("/dev/zero"), "names /dev/zero, which is not a regular file." },
        { names("loop.bin"), "names loop.bin, which " + loop },
    };
    for (const auto& c : cases) {
        EXPECT_EQ(failureOf([&] { discOfCueSheet(media.write("album.cue", c.first)); }), "The CUE sheet album.cue " + c.second)
            << c.first.left(40).constData();
    }
    const std::pair<QString, QString> sheets[] = {
        { media.path("folder.cue"), "folder.cue is a folder." }, { media.path("fifo.cue"), "fifo.cue is not a regular file." },
        { "/dev/zero", "zero is not a regular file." }, { media.path("loop.cue"), "loop.cue " + loop },
    };
    for (const auto& c : sheets)
        EXPECT_EQ(failureOf([&] { discOfCueSheet(c.first); }), "The CUE sheet " + c.second);
    EXPECT_TRUE(failureOf([&] { discOfCueSheet(media.path("gone.cue")); }).startsWith("The CUE sheet gone.cue cannot be read: "));
}
