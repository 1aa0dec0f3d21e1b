#include "file_headers/file_stretch.h"
#include "file_headers/mp3_encoder_trim.h"
#include "file_headers/mp4_encoder_trim.h"
#include "support/file_bytes.h"
#include "support/generated_media.h"
#include "support/itunes_gapless.h"

#include <QtEndian>
#include <limits>
#include <gtest/gtest.h>

namespace {

QByteArray bigEndian(quint64 value, int size)
{
    QByteArray bytes(8, Qt::Uninitialized);
    qToBigEndian(value, bytes.data());
    return bytes.right(size);
}

QByteArray box(const char* type, const QByteArray& contents)
{
    return bigEndian(quint64(contents.size()) + 8, 4) + type + contents;
}

// The length a priming edit points at, read from the file's own bytes.
quint64 lengthInFile(const QString& path, const Mp4Length& length)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || !file.seek(length.offset))
        return 0;
    return qFromBigEndian<quint64>(QByteArray(8 - length.size, 0).append(file.read(length.size)).constData());
}

// A sound track's media box: its rate and duration in frames.
QByteArray soundMedia(quint32 rate, quint64 duration)
{
    return box("mdia", box("mdhd", bigEndian(0x01000000, 4) + QByteArray(16, 0) + bigEndian(rate, 4) + bigEndian(duration, 8)
                                       + bigEndian(0, 4))
                           + box("hdlr", bigEndian(0, 8) + "soun" + QByteArray(12, 0)));
}

// The movie of a 44.1 kHz sound track of duration frames with an iTunSMPB comment.
QByteArray itunesMovie(quint64 duration, const char* comment)
{
    const QByteArray item = box("----", box("mean", bigEndian(0, 4) + "com.apple.iTunes")
                                            + box("name", bigEndian(0, 4) + "iTunSMPB")
                                            + box("data", bigEndian(1, 8) + comment));
    return box("ftyp", "M4A ")
         + box("moov", box("trak", soundMedia(44100, duration)) + box("udta", box("meta", bigEndian(0, 4) + box("ilst", item))));
}

// Each tone made twice: with its edit list, which tells the priming and the lengths to
// lengthen (ffmpeg rounds the edit down to whole milliseconds and the movie up, so the
// track says where the music of 1.23456 s ends), and without, where only an iTunes
// comment written afterwards trims it. qtdemux applies an edit list that skips the
// priming, so a comment beside one is left alone: trimming again would cut music.
TEST(Mp4EncoderTrim, findsThePrimingEditOrReadsTheItunesCommentOfATrackWithoutOne)
{
    GeneratedMedia media;
    const struct { const char* name; int rate; double seconds; QStringList more; quint64 movie, edit; } files[] = {
        {"cd.m4a", 44100, 1.5, {}, 1500, 1500}, {"first.m4a", 44100, 1.5, {"-movflags", "+faststart"}, 1500, 1500},
        {"dat.m4a", 48000, 1.5, {}, 1500, 1500}, {"odd.m4a", 44100, 1.23456, {}, 1235, 1234}};
    QString path;
    for (const auto& f : files) {
        // ffmpeg's AAC encoder primes with 1024 frames; the edit list that says so is left out unless asked for.
        const auto aac = [&](const QString& name, bool editList) {
            return media.makeWithFfmpeg(name, f.seconds, false, QStringList{"-c:a", "aac", "-use_editlist", editList ? "1" : "0"} + f.more, f.rate);
        };
        const qint64 music = qRound64(f.seconds * f.rate), padding = 2048 - (1024 + music) % 1024;
        const QString edited = aac(QStringLiteral("edited_") + f.name, true);
        ASSERT_FALSE(edited.isEmpty()) << f.name;
        const std::optional<Mp4PrimingEdit> edit = mp4PrimingEdit(edited);
        ASSERT_TRUE(edit) << f.name;
        // Priming, music, rate, the movie's time scale, and each length as told and as in the file's bytes.
        EXPECT_EQ(std::tuple(edit->primingFrames, edit->musicFrames, edit->rate, edit->movieTimeScale, edit->movieDuration.size,
                             edit->movieDuration.value, lengthInFile(edited, edit->movieDuration), edit->editDuration.value,
                             lengthInFile(edited, edit->editDuration)),
                  std::tuple(1024, music, f.rate, 1000u, 4, f.movie, f.movie, f.edit, f.edit))
            << f.name;
        ASSERT_TRUE(writeItunesGapless(edited, 1024, padding, music)) << f.name;
        EXPECT_FALSE(mp4EncoderTrim(edited)) << f.name;

        path = aac(f.name, false);
        ASSERT_FALSE(path.isEmpty()) << f.name;
        EXPECT_FALSE(mp4EncoderTrim(path) || mp4PrimingEdit(path)) << f.name << ": no comment yet, no edit list";
        // More music than the track holds is no true comment.
        ASSERT_TRUE(writeItunesGapless(path, 1024, 0, music + 1)) << f.name;
        EXPECT_FALSE(mp4EncoderTrim(path)) << f.name << ": overlong";
        ASSERT_TRUE(writeItunesGapless(path, 1024, padding, music)) << f.name;
        const std::optional<EncoderTrim> trim = mp4EncoderTrim(path);
        ASSERT_TRUE(trim) << f.name;
        EXPECT_EQ(std::tuple(trim->skipFrames, trim->musicFrames, trim->rate), std::tuple(1024, music, f.rate)) << f.name;
    }
    // A file cut off in its movie box, which ffmpeg writes last but for the headers-first
    // tone, or that is no MP4 at all.
    const QByteArray bytes = bytesOf(path);
    EXPECT_FALSE(mp4EncoderTrim(media.write(QStringLiteral("cut.m4a"), bytes.first(bytes.size() - 100))));
    EXPECT_FALSE(mp4EncoderTrim(media.write(QStringLiteral("words.m4a"), QByteArray("iTunSMPB moov").repeated(99))));
    EXPECT_FALSE(mp4EncoderTrim(media.path(QStringLiteral("missing.m4a"))) || mp4PrimingEdit(media.path(QStringLiteral("missing.m4a"))));
}

// Only a comment whose numbers fit the track trims it; none makes the decoder's
// positions overflow. 67584 frames: 1024 of priming, 66150 of music, 410 of padding.
TEST(Mp4EncoderTrim, trimsOnlyByACommentWhoseNumbersFitTheTrackAndReadsTheWideHeadersOfAPrimingEdit)
{
    constexpr quint64 kHuge = quint64(1) << 62, kLongest = quint64(std::numeric_limits<qint64>::max());
    const struct { const char* name; quint64 duration; const char* comment; bool trimmed; } files[] = {
        {"sane", 67584, " 00000000 00000400 0000019A 0000000000010266 00000000", true},
        {"huge priming", kHuge, " 00000000 00017C6F8C751F18 0000019A 0000000000010266", false},
        {"huge padding", 67584, " 00000000 00000400 FFFFFFFF 0000000000010266", false},
        {"music past the track", 67584, " 00000000 00000400 0000019A 0000000000010401", false},
        {"music of ages", kLongest, " 00000000 00000400 0000019A 7FFFFFFFFFFF0000", false},
        {"no music", 67584, " 00000000 00000400 0000019A 0000000000000000", false},
        {"all ones", kLongest, " 00000000 00000400 0000019A FFFFFFFFFFFFFFFF", false},
        {"minus", 67584, " 00000000 -0000400 0000019A 0000000000010266", false},
        {"prefixed", 67584, " 00000000 0x000400 0000019A 0000000000010266", false},
    };
    GeneratedMedia media;
    for (const auto& f : files) {
        const QString path = media.write(QStringLiteral("crafted.m4a"), itunesMovie(f.duration, f.comment));
        EXPECT_EQ(mp4EncoderTrim(path).has_value(), f.trimmed) << f.name;
        const FileStretch whole = fileStretch(path, 0, -1, 44100), part = fileStretch(path, 441, 882, 44100);
        const qint64 skip = f.trimmed ? 1024 : 0;
        EXPECT_EQ(std::tuple(whole.skipFrames, whole.endFrame, part.skipFrames, part.endFrame),
                  std::tuple(skip, f.trimmed ? 1024 + 66150 : -1, skip + 441, skip + 882)) << f.name;
    }

    // 64-bit headers, the movie box after the sound, and an edit that ends the music
    // well before the track does.
    const QByteArray track = box("trak", box("edts", box("elst", bigEndian(0x01000000, 4) + bigEndian(1, 4) + bigEndian(1200, 8)
                                                                  + bigEndian(2112, 8) + bigEndian(0x10000, 4)))
                                             + soundMedia(48000, 2112 + 144000));
    const QByteArray header = box("mvhd", bigEndian(0x01000000, 4) + QByteArray(16, 0) + bigEndian(600, 4)
                                               + bigEndian(1800, 8) + QByteArray(80, 0));
    const QByteArray start = box("ftyp", "M4A ") + box("mdat", QByteArray(1000, 0));
    const QString path = media.write(QStringLiteral("wide.m4a"), start + box("moov", header + track));
    const std::optional<Mp4PrimingEdit> edit = mp4PrimingEdit(path);
    ASSERT_TRUE(edit);
    EXPECT_EQ(edit->movieDuration.offset, start.size() + 8 + 8 + 24);
    EXPECT_EQ(std::tuple(edit->movieDuration.size, lengthInFile(path, edit->movieDuration), edit->editDuration.size,
                         lengthInFile(path, edit->editDuration), edit->movieTimeScale, edit->primingFrames, edit->rate),
              std::tuple(8, 1800u, 8, 1200u, 600u, 2112, 48000));
    EXPECT_EQ(edit->musicFrames, 96080); // 2 s, and what may lie within the edit's last tick

    // Cut anywhere in its headers, it is none.
    const QByteArray whole = start + box("moov", header + track);
    for (qsizetype size = start.size(); size < whole.size(); size += 7)
        EXPECT_FALSE(mp4PrimingEdit(media.write(QStringLiteral("cut.m4a"), whole.first(size)))) << size;
}

// An APE tag as tag editors append it: header, one item (a song's words), footer.
QByteArray apeTag()
{
    const QByteArray words = QByteArray("La la la. ").repeated(60);
    QByteArray item(8, 0);
    qToLittleEndian<quint32>(quint32(words.size()), item.data());
    item += QByteArray("Lyrics") + '\0' + words;
    const auto part = [&](quint32 flags) {
        QByteArray bytes = QByteArray("APETAGEX") + QByteArray(24, 0);
        qToLittleEndian<quint32>(2000, bytes.data() + 8);
        qToLittleEndian<quint32>(quint32(item.size() + 32), bytes.data() + 12);
        qToLittleEndian<quint32>(1, bytes.data() + 16);
        qToLittleEndian<quint32>(flags, bytes.data() + 20);
        return bytes;
    };
    return part(0xa0000000) + item + part(0x80000000);
}

// ffmpeg notes 576 frames of delay and the padding up to its 155th frame: the 4 s
// are 176400 frames after the decoder's own 529. The count must match the file: two
// songs joined hold twice the frames the first one's header counts, and trimming by
// that count would cut the second off.
TEST(Mp3EncoderTrim, trustsTheFrameCountOnlyWhereTheFileHoldsNoMoreFrames)
{
    GeneratedMedia media;
    const QString made = media.makeWithFfmpeg(QStringLiteral("made.mp3"), 4, false, {"-ac", "2", "-c:a", "libmp3lame"});
    ASSERT_FALSE(made.isEmpty());
    const QByteArray song = bytesOf(made);
    const QByteArray id3v1 = QByteArray("TAG") + QByteArray(125, ' ');
    const struct { const char* name; QByteArray bytes; bool trimmed; } files[] = {
        {"song.mp3", song, true}, {"id3v1.mp3", song + id3v1, true}, {"ape.mp3", song + apeTag() + id3v1, true},
        {"joined.mp3", song + song, false},
        {"grown.mp3", song + song.right(1000), false}, // two frames more
        {"cut.mp3", song.first(song.size() - 2000), true},
    };
    for (const auto& f : files) {
        const std::optional<EncoderTrim> trim = mp3EncoderTrim(media.write(f.name, f.bytes));
        ASSERT_EQ(trim.has_value(), f.trimmed) << f.name;
        if (trim) {
            EXPECT_EQ(std::tuple(trim->skipFrames, trim->musicFrames, trim->rate), std::tuple(576 + 529, 4 * 44100, 44100)) << f.name;
        }
    }
}

} // namespace
