#include "file_headers/mp3_encoder_trim.h"
#include "support/file_bytes.h"
#include "support/generated_media.h"

#include <QtEndian>
#include <gtest/gtest.h>

namespace {

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
// files joined hold twice the frames the first one's header counts, and trimming by
// that count would cut the second off.
TEST(Mp3EncoderTrim, trustsTheFrameCountOnlyWhereTheFileHoldsNoMoreFrames)
{
    GeneratedMedia media;
    const QStringList options{"-ac", "2", "-c:a", "libmp3lame"};
    const QString first = media.makeWithFfmpeg(QStringLiteral("first.mp3"), 4, false, options);
    const QString second = media.makeWithFfmpeg(QStringLiteral("second.mp3"), 4, false, options);
    ASSERT_FALSE(first.isEmpty() || second.isEmpty());
    const QByteArray song = bytesOf(first);
    const QByteArray id3v1 = QByteArray("TAG") + QByteArray(125, ' ');
    const struct { const char* name; QByteArray bytes; bool trimmed; } files[] = {
        {"song.mp3", song, true}, {"id3v1.mp3", song + id3v1, true}, {"ape.mp3", song + apeTag() + id3v1, true},
        {"joined.mp3", song + bytesOf(second), false},
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
