#include "discs/disc.h"
#include "player/gst_file_decoder.h"
#include "player/sample_reader.h"
#include "support/bytes_read.h"
#include "support/failure_text.h"
#include "support/file_bytes.h"
#include "support/generated_media.h"

#include <QDeadlineTimer>
#include <QFileInfo>
#include <QtEndian>
#include <gtest/gtest.h>
#include <thread>

namespace {

constexpr qint64 kFrames = 44100 * 2; // two seconds

// Stereo 16-bit samples that differ from frame to frame, so that a stretch
// shifted by a single frame is caught.
qint16 sampleAt(qint64 frame, int channel)
{
    return qint16((frame * 37 + channel * 1001) % 50000 - 25000);
}

QByteArray rawSamples(bool bigEndian)
{
    QByteArray bytes(kFrames * 4, Qt::Uninitialized);
    for (qint64 i = 0; i < kFrames * 2; ++i) {
        const qint16 value = sampleAt(i / 2, int(i % 2));
        bigEndian ? qToBigEndian(value, bytes.data() + 2 * i) : qToLittleEndian(value, bytes.data() + 2 * i);
    }
    return bytes;
}

// Everything the decoder gives for the source, as floats.
std::vector<float> decodeAll(GstFileDecoder& decoder, const SoundSource& source)
{
    decoder.start(source);
    std::vector<float> samples;
    const QDeadlineTimer deadline(20000);
    while (!decoder.finished() && !deadline.hasExpired()) {
        const GstBufferHandle buffer = decoder.take(4410);
        if (!buffer) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
            continue;
        }
        const size_t had = samples.size(), bytes = gst_buffer_get_size(buffer.get());
        samples.resize(had + bytes / sizeof(float));
        gst_buffer_extract(buffer.get(), 0, samples.data() + had, bytes);
    }
    EXPECT_TRUE(decoder.finished()) << source.path.toStdString();
    return samples;
}

// The error of a source that cannot be read, which gives no sound.
QString errorOf(GstFileDecoder& decoder, const SoundSource& source)
{
    return decodeAll(decoder, source).empty() ? decoder.error() : QStringLiteral("sound");
}

// The decoded samples are exactly frames [first, end) of the generated sound.
void expectStretch(const std::vector<float>& samples, qint64 first, qint64 end, const QString& what)
{
    ASSERT_EQ(qint64(samples.size()), (end - first) * 2) << what.toStdString();
    for (qint64 i = 0; i < (end - first) * 2; ++i)
        ASSERT_EQ(samples[size_t(i)], float(sampleAt(first + i / 2, int(i % 2))) / 32768.0f)
            << what.toStdString() << " frame " << first + i / 2;
}

} // namespace

TEST(GstFileDecoder, playsExactlyTheStretchAskedForOfFilesAndRawImages)
{
    GeneratedMedia media;
    const QString little = media.write(QStringLiteral("disc.bin"), rawSamples(false));
    const QString big = media.write(QStringLiteral("disc-motorola.bin"), rawSamples(true));
    const QStringList rawIn { "-t", "raw", "-r", "44100", "-e", "signed", "-b", "16", "-c", "2", "-L", little };
    GstFileDecoder decoder;
    const qint64 first = 100 * kFramesPerSector + 1, end = 130 * kFramesPerSector - 7;
    const auto raw = SoundSource::Kind::RawImage;
    // A stretch that runs past the image's end stops with the image.
    std::vector<std::tuple<SoundSource, qint64, qint64>> cases { { { raw, little, 0, first, end }, first, end },
        { { raw, big, 0, first, end, true }, first, end }, { { raw, little, 0, first, kFrames + 5000 }, first, kFrames } };
    for (const QString name : { "rip.wav", "rip.flac" }) {
        const QString path = media.make(QStringLiteral("sox"), rawIn + QStringList { name }, name);
        ASSERT_FALSE(path.isEmpty()) << name.toStdString();
        for (const auto& [from, to] : { std::pair(first, end), std::pair(first, qint64(-1)), std::pair(qint64(0), qint64(-1)) })
            cases.push_back({ { SoundSource::Kind::File, path, 0, from, to }, from, to < 0 ? kFrames : to });
    }
    for (const auto& [source, from, to] : cases)
        expectStretch(decodeAll(decoder, source), from, to, source.path + QStringLiteral(" to %1").arg(source.endFrame));

    const QString missing = errorOf(decoder, { .kind = SoundSource::Kind::RawImage, .path = media.path("missing.bin") });
    EXPECT_TRUE(missing.contains(QStringLiteral("missing.bin"))) << missing.toStdString();
}

// ffmpeg's AAC in MP4 skips the encoder's priming with an edit list, and its MP3 is
// trimmed by its header: the whole music is heard, and nothing past it. A file at
// another rate is resampled to the output's. Two MP3s joined with cat are heard both,
// whatever the first one's header counts.
TEST(GstFileDecoder, playsAacAndMp3TrimmedToTheirMusicToItsLastFrameAndJoinedMp3sWhole)
{
    GeneratedMedia media;
    const struct { const char* name; int rate; double seconds; const char* codec; } files[] = {
        {"cd.m4a", 44100, 1.5, "aac"}, {"dat.m4a", 48000, 1.5, "aac"}, {"odd.m4a", 44100, 1.23456, "aac"},
        {"a.mp3", 44100, 4, "libmp3lame"}};
    GstFileDecoder decoder;
    for (const auto& f : files) {
        const QString path = media.makeWithFfmpeg(f.name, f.seconds, false, {"-ac", "2", "-c:a", f.codec}, f.rate);
        ASSERT_FALSE(path.isEmpty()) << f.name;
        const std::vector<float> samples = decodeAll(decoder, { .path = path });
        const qint64 frames = qint64(samples.size() / 2);
        const qint64 music = qRound64(qRound64(f.seconds * f.rate) * 44100.0 / f.rate);
        EXPECT_NEAR(frames, music, f.rate == 44100 ? 0 : 1) << f.name;
        // The tone (at an eighth of full scale) sounds to the end: no silence stands in for the last packet.
        ASSERT_GE(frames, 441);
        double sum = 0;
        for (size_t i = samples.size() - 882; i < samples.size(); ++i)
            sum += double(samples[i]) * samples[i];
        EXPECT_GT(sum / 882, 0.001) << f.name;
    }
    const QString joined = media.write(QStringLiteral("joined.mp3"), bytesOf(media.path("a.mp3")).repeated(2));
    const qint64 frames = qint64(decodeAll(decoder, { .path = joined }).size() / 2);
    EXPECT_NEAR(frames, 8 * 44100, 4410); // the second file's encoder silence is heard
}

TEST(GstFileDecoder, readsATrackOfADiscThroughTheCdSource)
{
    GeneratedMedia media;
    media.write(QStringLiteral("disc.bin"), rawSamples(false).left(150 * 2352));
    const QString cue = media.write(QStringLiteral("disc.cue"), "FILE \"disc.bin\" BINARY\r\n  TRACK 01 AUDIO\r\n    INDEX 01 00:00:00\r\n"
                                                                "  TRACK 02 AUDIO\r\n    INDEX 00 00:01:00\r\n    INDEX 01 00:01:20\r\n");
    GstFileDecoder decoder;
    expectStretch(decodeAll(decoder, { .kind = SoundSource::Kind::DriveTrack, .path = cue, .track = 2 }), 95 * kFramesPerSector,
                  150 * kFramesPerSector, QStringLiteral("track 2"));

    // A disc that cannot be read: the message names the track.
    const QString gone = errorOf(decoder, { .kind = SoundSource::Kind::DriveTrack, .path = media.path("gone.cue"), .track = 2 });
    EXPECT_TRUE(gone.endsWith(QStringLiteral("gone.cue, track 2"))) << gone.toStdString();
}

// Lengths come from what a file says without reading it through; the samples come
// every one, as fast as they decode. A damaged file fails with its name; a cancel
// stops the reading, and the reader is ready for the next source.
TEST(GstSampleReader, measuresSourcesWithoutReadingThemReadsEveryFrameAndStopsOnACancel)
{
    GeneratedMedia media;
    const QString wav = media.makeFromPieces("tone.wav", { { 2, "sine 440 vol 0.5" } });
    const QString image = media.write("image.bin", QByteArray(4 * 1000, '\0'));
    const QString damaged = media.write("damaged.flac", QByteArray("fLaC") + QByteArray(5000, '\x5a'));
    const QString longer = media.makeFromPieces("long.flac", { { 300, "sine 440 vol 0.5" } });
    ASSERT_FALSE(wav.isEmpty() || image.isEmpty() || longer.isEmpty());
    const std::unique_ptr<SampleReader> reader = makeSampleReader();
    EXPECT_EQ(reader->expectedFrames({ .path = wav }), 2 * 44100);
    EXPECT_EQ(reader->expectedFrames({ .path = wav, .firstFrame = 44100 }), 44100);
    EXPECT_EQ(reader->expectedFrames({ .path = wav, .firstFrame = 100, .endFrame = 400 }), 300);
    EXPECT_EQ(reader->expectedFrames({ .kind = SoundSource::Kind::RawImage, .path = image, .firstFrame = 10 }), 990);
    EXPECT_EQ(reader->expectedFrames({ .kind = SoundSource::Kind::DriveTrack, .path = "/dev/cdrom", .track = 2 }), 0);
    EXPECT_EQ(reader->expectedFrames({ .path = media.path("missing.flac") }), 0);

    qint64 frames = 0;
    float loudest = 0;
    std::atomic<bool> cancel { false };
    const auto take = [&](const float* samples, qint64 count) {
        for (const float* sample = samples; sample < samples + 2 * count; ++sample)
            loudest = std::max(loudest, std::abs(*sample));
        frames += count;
        cancel = frames >= 10 * 44100;
    };
    EXPECT_TRUE(reader->read({ .path = wav, .firstFrame = 4410 }, take, cancel));
    EXPECT_EQ(frames, 2 * 44100 - 4410);
    EXPECT_NEAR(loudest, 0.5, 0.01);
    const QString failure = failureOf([&] { reader->read({ .path = damaged }, take, cancel); });
    EXPECT_TRUE(failure.contains("damaged.flac")) << failure.toStdString();

    // Ignored, a cancel would leave the reader to decode the whole file.
    const qint64 before = bytesRead();
    EXPECT_FALSE(reader->read({ .path = longer }, take, cancel));
    EXPECT_LT(bytesRead() - before, QFileInfo(longer).size() / 4);
    cancel = false;
    frames = 0;
    EXPECT_TRUE(reader->read({ .path = longer, .endFrame = 44100 }, take, cancel));
    EXPECT_EQ(frames, 44100);
}
