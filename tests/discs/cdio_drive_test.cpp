#include "discs/cdio_drive.h"

#include "support/generated_media.h"

#include <gtest/gtest.h>

namespace {

// A raw 16-bit stereo tone at 44.1 kHz, of whole sectors.
QByteArray tone(GeneratedMedia& media, const QString& name, int sectors, int frequency)
{
    const QString path = media.make(QStringLiteral("sox"),
                                    { "-r", "44100", "-c", "2", "-n", "-b", "16", "-e", "signed", "-L", "-t", "raw", name,
                                      "synth", QString::number(sectors * kFramesPerSector) + "s", "sine",
                                      QString::number(frequency), "vol", "0.5" },
                                    name);
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

TEST(CdioDrive, readsTheTracksOfADiscImage)
{
    GeneratedMedia media;
    const QByteArray sound = tone(media, "a.raw", 100, 440) + tone(media, "b.raw", 60, 660);
    ASSERT_EQ(sound.size(), 160 * 2352);
    ASSERT_FALSE(media.write("x.bin", sound).isEmpty());
    // Track 2 has a pregap of 15 sectors: it counts with track 1.
    const QString sheet = media.write("x.cue", "FILE \"x.bin\" BINARY\n"
                                               "  TRACK 01 AUDIO\n    INDEX 01 00:00:00\n"
                                               "  TRACK 02 AUDIO\n    INDEX 00 00:01:25\n    INDEX 01 00:01:40\n");
    const std::optional<Disc> disc = readDriveDisc(sheet);
    ASSERT_TRUE(disc);
    ASSERT_EQ(disc->tracks.size(), 2);
    EXPECT_TRUE(disc->tracks[0].audio && disc->tracks[1].audio);
    // The sectors, where each track starts and the lead-out, as its disc ID is made of.
    EXPECT_EQ(std::tuple(disc->tracks[0].sectors, disc->tracks[1].sectors, disc->tracks[0].start, disc->tracks[1].start,
                         disc->leadOut), std::tuple(115, 45, 0, 115, 160));
    EXPECT_EQ(disc->tracks[1].sound, (SoundSource { SoundSource::Kind::DriveTrack, sheet, 2 }));
    EXPECT_EQ(disc->title + disc->tracks[0].title, "");

    // The disc's CD-Text names the album and the tracks, the disc's performer standing
    // for a track's that is not given. libcdio finds the image by the sheet's name.
    ASSERT_FALSE(media.write("named.bin", sound).isEmpty());
    const QString named = media.write("named.cue", "PERFORMER \"Ana Ruiz\"\nTITLE \"Río Lento\"\n"
                                                   "FILE \"named.bin\" BINARY\n"
                                                   "  TRACK 01 AUDIO\n    TITLE \"Primera\"\n    INDEX 01 00:00:00\n"
                                                   "  TRACK 02 AUDIO\n    TITLE \"Dúo\"\n    PERFORMER \"Both  of Us\"\n"
                                                   "    INDEX 01 00:01:40\n");
    const std::optional<Disc> titled = readDriveDisc(named);
    ASSERT_TRUE(titled);
    ASSERT_EQ(titled->tracks.size(), 2);
    EXPECT_EQ(QStringList({titled->title, titled->tracks[0].title, titled->tracks[1].title}),
              QStringList({"Río Lento", "Ana Ruiz - Primera", "Both of Us - Dúo"}));
    // A sheet in Latin-1, as CD-Text mostly is, reads the same.
    ASSERT_FALSE(media.write("latin.bin", sound).isEmpty());
    const std::optional<Disc> latin = readDriveDisc(media.write(
        "latin.cue", QByteArray("TITLE \"R\xedo Lento\"\nFILE \"latin.bin\" BINARY\n  TRACK 01 AUDIO\n    INDEX 01 00:00:00\n")));
    ASSERT_TRUE(latin);
    EXPECT_EQ(latin->title, "Río Lento");

    // A data disc, an empty sheet, a text, a missing sheet: no audio disc.
    for (const QString& none : { media.write("data.cue", "FILE \"x.bin\" BINARY\n  TRACK 01 MODE1/2352\n    INDEX 01 00:00:00\n"),
                                 media.write("empty.cue", {}), media.write("notes.txt", "not a disc\n"), media.path("missing.cue") })
        EXPECT_EQ(readDriveDisc(none), std::nullopt) << none.toStdString();
}
