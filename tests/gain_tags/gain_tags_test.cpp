#include "gain_tags/gain_tags.h"
#include "gain_tags/gain_values.h"
#include "support/file_bytes.h"
#include "support/generated_media.h"

#include <QStandardPaths>
#include <clocale>
#include <gtest/gtest.h>
#include <string>
#include <taglib/apetag.h>
#include <taglib/id3v2tag.h>
#include <taglib/mpegfile.h>
#include <taglib/relativevolumeframe.h>

void PrintTo(const GainTags& tags, std::ostream* out)
{
    const auto figure = [](const std::optional<double>& value) { return value ? std::to_string(*value) : "none"; };
    *out << figure(tags.trackGain) << " dB " << figure(tags.trackPeak) << ", album " << figure(tags.albumGain)
         << " dB " << figure(tags.albumPeak) << " \"" << tags.album.toStdString() << '"';
}

namespace {

// Skips the test when one of the programs is not installed.
#define SKIP_WITHOUT(...)                                                                                          \
    for (const char* program : {__VA_ARGS__})                                                                      \
        if (QStandardPaths::findExecutable(QLatin1String(program)).isEmpty())                                     \
            GTEST_SKIP() << program << " is not installed"

bool run(const QString& program, const QStringList& arguments) { return QProcess::execute(program, arguments) == 0; }

class GainTagsTest : public testing::Test {
protected:
    // A fifth of a second of 16-bit tone, which every encoder here takes.
    QString tone() { return media.tone(QStringLiteral("tone.wav"), 0.2, 440, 1, 44100, 2, 16); }

    // A FLAC file with the given Vorbis comments ("NAME=value"), written by metaflac.
    QString taggedFlac(const QString& name, const QStringList& comments)
    {
        const QString path = media.make(QStringLiteral("flac"), {"-s", "-o", name, tone()}, name);
        QStringList arguments;
        for (const QString& comment : comments)
            arguments << QStringLiteral("--set-tag=") + comment;
        return !path.isEmpty() && run(QStringLiteral("metaflac"), arguments << path) ? path : QString();
    }

    QString mp3(const QString& name) { return media.make(QStringLiteral("lame"), {"--quiet", tone(), name}, name); }

    GeneratedMedia media;
};

// A frame of Relative volume adjustment (2), written by TagLib as no Debian tool writes one.
using TagLib::ID3v2::RelativeVolumeFrame;

void addRelativeVolume(const QString& path, const char* identification, float gain, QByteArray peak = {},
                       RelativeVolumeFrame::ChannelType channel = RelativeVolumeFrame::MasterVolume)
{
    TagLib::MPEG::File file(QFile::encodeName(path).constData(), false);
    auto* frame = new RelativeVolumeFrame;
    frame->setIdentification(identification);
    frame->setVolumeAdjustment(gain, channel);
    if (!peak.isEmpty()) {
        RelativeVolumeFrame::PeakVolume volume;
        volume.bitsRepresentingPeak = static_cast<unsigned char>(peak.size() * 8);
        volume.peakVolume = TagLib::ByteVector(peak.data(), static_cast<unsigned int>(peak.size()));
        frame->setPeakVolume(volume, channel);
    }
    file.ID3v2Tag(true)->addFrame(frame);
    file.save(TagLib::MPEG::File::ID3v2, TagLib::File::StripNone);
}

// Ogg files, Vorbis, Opus and FLAC, carry Vorbis comments, whatever the case of their names;
// Opus gains come from its R128 tags.
TEST_F(GainTagsTest, vorbisCommentsApeTagsId3v2FramesAndMp4ItemsGiveTheFigures)
{
    SKIP_WITHOUT("sox", "flac", "metaflac", "oggenc", "vorbiscomment", "opusenc", "wavpack", "wvtag", "lame", "eyeD3", "ffmpeg",
                 "AtomicParsley");
    const QString flac = taggedFlac(QStringLiteral("all.flac"),
        {"replaygain_track_gain=-6.20 dB", "REPLAYGAIN_TRACK_PEAK=0.988553", "Replaygain_Album_Gain=+1.50 dB",
         "replaygain_album_peak=1.05", "ALBUM=Blue Hours"});
    EXPECT_EQ(readGainTags(flac), (GainTags{-6.2, 0.988553, 1.5, 1.05, "Blue Hours"}));

    const QString ogg = media.make(QStringLiteral("oggenc"), {"-Q", "-o", "night.ogg", tone()}, "night.ogg");
    ASSERT_TRUE(run(QStringLiteral("vorbiscomment"), {"-w", "-t", "REPLAYGAIN_TRACK_GAIN=-3.5dB", "-t", "album=Night",
                                                      ogg}));
    EXPECT_EQ(readGainTags(ogg), (GainTags{-3.5, {}, {}, {}, "Night"}));

    // R128 gains aim 5 dB lower and come before a ReplayGain tag in the same file.
    const QString opus = media.make(QStringLiteral("opusenc"),
        {"--quiet", "--album", "Opus", "--comment", "R128_TRACK_GAIN=-2560", "--comment", "R128_ALBUM_GAIN=128",
         "--comment", "REPLAYGAIN_TRACK_GAIN=-9 dB", "--comment", "REPLAYGAIN_ALBUM_PEAK=0.5", tone(), "r128.opus"},
        "r128.opus");
    EXPECT_EQ(readGainTags(opus), (GainTags{-5, {}, 5.5, 0.5, "Opus"}));

    // Monkey's Audio, WavPack and Musepack files carry APE tags; an MP3 may have one beside its ID3v2 tag.
    const QString wavpack = media.make(QStringLiteral("wavpack"), {"-q", "-y", tone(), "-o", "t.wv"}, "t.wv");
    ASSERT_TRUE(run(QStringLiteral("wvtag"), {"-q", "-w", "Replaygain_Track_Gain=-7.25 dB", "-w",
                                              "REPLAYGAIN_TRACK_PEAK=0.75", "-w", "Album=Strings", wavpack}));
    EXPECT_EQ(readGainTags(wavpack), (GainTags{-7.25, 0.75, {}, {}, "Strings"}));

    // No Debian tool writes an APE tag into an MP3 without measuring it: TagLib does here.
    const QString mp3 = this->mp3(QStringLiteral("both.mp3"));
    ASSERT_TRUE(run(QStringLiteral("eyeD3"), {"--album", "Id3 Album", "--user-text-frame",
                                              "REPLAYGAIN_ALBUM_GAIN:-2 dB", mp3}));
    {
        TagLib::MPEG::File file(QFile::encodeName(mp3).constData(), false);
        file.APETag(true)->addValue("REPLAYGAIN_TRACK_GAIN", "-4.5 dB");
        file.APETag()->addValue("REPLAYGAIN_ALBUM_GAIN", "-8 dB");
        ASSERT_TRUE(file.save(TagLib::MPEG::File::APE, TagLib::File::StripNone));
    }
    EXPECT_EQ(readGainTags(mp3), (GainTags{-4.5, {}, -2, {}, "Id3 Album"}));

    // ID3v2 TXXX frames come before Relative volume frames of the track or album.
    const QString id3 = this->mp3(QStringLiteral("id3.mp3"));
    ASSERT_TRUE(run(QStringLiteral("eyeD3"), {"--album", "Frames", "--user-text-frame", "replaygain_album_gain:-6.20 dB",
                                              "--user-text-frame", "Replaygain_Album_Peak:0.9", id3}));
    // Neither a frame of another name nor one for the loudspeakers one by one tells of the whole.
    addRelativeVolume(id3, "normalize", -20);
    addRelativeVolume(id3, "track", -4, QByteArray("\x20\x00", 2), RelativeVolumeFrame::FrontLeft);
    addRelativeVolume(id3, "track", -1.5, QByteArray("\x40\x00", 2));
    addRelativeVolume(id3, "album", -9, QByteArray("\x7f\xff", 2));
    EXPECT_EQ(readGainTags(id3), (GainTags{-1.5, 0.5, -6.2, 0.9, "Frames"}));

    // MP4 keeps them in iTunes freeform items. ffmpeg's -metadata writes none that are:
    // its MP4 muxer drops names it does not know, or with use_metadata_tags puts them in
    // "mdta" keys, so AtomicParsley writes them.
    const QString m4a = media.makeWithFfmpeg(QStringLiteral("t.m4a"), 0.2, false, {"-c:a", "aac", "-metadata", "album=Sound Check"});
    ASSERT_FALSE(m4a.isEmpty());
    const auto item = [](const char* name, const char* value) {
        return QStringList{"--rDNSatom", value, QStringLiteral("name=") + name, "domain=com.apple.iTunes"};
    };
    ASSERT_TRUE(run(QStringLiteral("AtomicParsley"), QStringList{m4a} + item("replaygain_track_gain", "-6.20 dB")
                        + item("REPLAYGAIN_TRACK_PEAK", "0.5") + item("Replaygain_Album_Gain", "+2.00 dB") + QStringList{"--overWrite"}));
    EXPECT_EQ(readGainTags(m4a), (GainTags{-6.2, 0.5, 2, {}, "Sound Check"}));
}

TEST_F(GainTagsTest, garbageReadsAsNoFigureAndDamagedFilesAsNoTagsWhateverTheLocale)
{
    struct Case { const char* text; std::optional<double> gain, peak, r128; };
    const Case cases[] = {
        {"-6.20 dB", -6.2, {}, {}}, {" +1.5DB ", 1.5, {}, {}}, {"\u22123 dB", -3, {}, {}}, {"0.5", 0.5, 0.5, {}},
        {"10", 10, 10, 5 + 10 / 256.0}, {"-1280", {}, {}, 0}, {"-14080", {}, {}, -50}, {"60 dB", 60, {}, {}},
        {"-61 dB", {}, {}, {}}, {"11", 11, {}, 5 + 11 / 256.0}, {"0", 0, {}, 5}, {"-0.5", -0.5, {}, {}},
        {"abc dB", {}, {}, {}}, {"nan", {}, {}, {}}, {"inf dB", {}, {}, {}}, {"-6,20 dB", {}, {}, {}},
        {"32767", {}, {}, {}}, {"", {}, {}, {}}, {"dB", {}, {}, {}}, {"1e-300", 1e-300, {}, {}},
        {"0.00001", 0.00001, 0.00001, {}},
    };
    const auto readAll = [&](const char* where) {
        for (const Case& c : cases) {
            const QString text = QString::fromUtf8(c.text);
            EXPECT_EQ(std::tuple(gainFromText(text), peakFromText(text), gainFromR128Text(text)),
                      std::tuple(c.gain, c.peak, c.r128)) << c.text << ' ' << where;
        }
    };
    readAll("in the C locale");

    SKIP_WITHOUT("sox", "flac", "metaflac");
    // A broken R128 gain leaves the ReplayGain one; the other broken figures are left out.
    const QString flac = taggedFlac(QStringLiteral("broken.flac"),
        {"R128_TRACK_GAIN=loud", "REPLAYGAIN_TRACK_GAIN=-3 dB", "REPLAYGAIN_TRACK_PEAK=0",
         "REPLAYGAIN_ALBUM_GAIN=nan", "REPLAYGAIN_ALBUM_PEAK=11", "ALBUM=Kept"});
    EXPECT_EQ(readGainTags(flac), (GainTags{-3, {}, {}, {}, "Kept"}));

    // Cut inside its comments, a file tells nothing; nor does noise, a folder, a file
    // that is not there, or one whose type has no tags.
    const QByteArray start = bytesOf(flac).left(120);
    const QByteArray noise = QByteArray("\x3d\xfe\x07\x81\xc4", 5).repeated(800);
    QStringList paths{media.write(QStringLiteral("cut.flac"), start), media.path(QStringLiteral("missing.flac")),
                      media.path(QString()), media.write(QStringLiteral("song.mid"), "MThd" + start)};
    for (const char* extension : {"flac", "mp3", "m4a", "opus", "ape", "wv", "ogg", "wma", "aiff", "wav"})
        paths << media.write(QStringLiteral("noise.") + extension, noise + "REPLAYGAIN_TRACK_GAIN=-6 dB");
    for (const QString& path : paths)
        EXPECT_EQ(readGainTags(path), GainTags{}) << path.toStdString();

    // A locale with a decimal comma changes nothing.
    const std::string previous = std::setlocale(LC_ALL, nullptr);
    if (!std::setlocale(LC_ALL, "de_DE.UTF-8"))
        GTEST_SKIP() << "no de_DE.UTF-8 locale";
    readAll("with a decimal comma");
    const GainTags tags = readGainTags(taggedFlac(QStringLiteral("locale.flac"),
        {"REPLAYGAIN_TRACK_GAIN=-6.20 dB", "REPLAYGAIN_TRACK_PEAK=0.95", "REPLAYGAIN_ALBUM_GAIN=-6,5 dB"}));
    std::setlocale(LC_ALL, previous.c_str());
    EXPECT_EQ(tags, (GainTags{-6.2, 0.95, {}, {}, {}}));
}

} // namespace
