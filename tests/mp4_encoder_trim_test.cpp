#include "player/mp4_encoder_trim.h"
#include "support/generated_media.h"
#include "support/itunes_gapless.h"

#include <gtest/gtest.h>

namespace {

// 1.5 s of tone at the given rate made into AAC in MP4 by ffmpeg, whose AAC encoder
// primes with 1024 frames; the edit list that says so is left out unless asked for.
QString makeAac(GeneratedMedia& media, const QString& name, int rate, bool editList, const QStringList& more = {})
{
    return media.make(QStringLiteral("ffmpeg"),
                      QStringList{"-v", "quiet", "-f", "lavfi", "-i",
                                  QStringLiteral("sine=frequency=440:sample_rate=%1:duration=1.5").arg(rate), "-c:a",
                                  "aac", "-use_editlist", editList ? "1" : "0"}
                          + more + QStringList{name},
                      name);
}

TEST(Mp4EncoderTrim, readsTheItunesCommentOfATrackWithoutAnEditList)
{
    GeneratedMedia media;
    const struct { const char* name; int rate; QStringList more; } files[] = {
        {"cd.m4a", 44100, {}}, {"dat.m4a", 48000, {}}, {"headers_first.m4a", 44100, {"-movflags", "+faststart"}}};
    for (const auto& f : files) {
        const QString path = makeAac(media, f.name, f.rate, false, f.more);
        ASSERT_FALSE(path.isEmpty()) << f.name;
        EXPECT_FALSE(mp4EncoderTrim(path)) << f.name << ": no comment yet";
        const qint64 music = qint64(1.5 * f.rate);
        ASSERT_TRUE(writeItunesGapless(path, 1024, 2048 - (1024 + music) % 1024, music)) << f.name;
        const std::optional<EncoderTrim> trim = mp4EncoderTrim(path);
        ASSERT_TRUE(trim) << f.name;
        EXPECT_EQ(trim->skipFrames, 1024) << f.name;
        EXPECT_EQ(trim->musicFrames, music) << f.name;
        EXPECT_EQ(trim->rate, f.rate) << f.name;
    }
}

TEST(Mp4EncoderTrim, leavesWhatGStreamerTrimsAndWhatDoesNotFitTheTrack)
{
    GeneratedMedia media;
    // qtdemux applies an edit list that skips the priming: trimming again would cut music.
    const QString edited = makeAac(media, QStringLiteral("edited.m4a"), 44100, true);
    ASSERT_FALSE(edited.isEmpty());
    ASSERT_TRUE(writeItunesGapless(edited, 1024, 410, 66150));
    EXPECT_FALSE(mp4EncoderTrim(edited));

    // More music than the track holds is no true comment.
    const QString overlong = makeAac(media, QStringLiteral("overlong.m4a"), 44100, false);
    ASSERT_FALSE(overlong.isEmpty());
    ASSERT_TRUE(writeItunesGapless(overlong, 1024, 0, 66151));
    EXPECT_FALSE(mp4EncoderTrim(overlong));

    // A file cut off before its movie box, or that is no MP4 at all.
    const QString whole = makeAac(media, QStringLiteral("whole.m4a"), 44100, false);
    ASSERT_TRUE(writeItunesGapless(whole, 1024, 410, 66150));
    QFile file(whole);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    EXPECT_FALSE(mp4EncoderTrim(media.write(QStringLiteral("cut.m4a"), bytes.first(bytes.size() - 100))));
    EXPECT_FALSE(mp4EncoderTrim(media.write(QStringLiteral("words.m4a"), QByteArray("iTunSMPB moov").repeated(99))));
    EXPECT_FALSE(mp4EncoderTrim(media.path(QStringLiteral("missing.m4a"))));
}

} // namespace
