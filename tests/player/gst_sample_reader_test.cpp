#include "support/failure_text.h"
#include "player/sample_reader.h"
#include "support/bytes_read.h"
#include "support/generated_media.h"

#include <QFileInfo>
#include <gtest/gtest.h>

// Lengths come from what a file says without reading it through; the samples
// come every one, as fast as they decode.
TEST(GstSampleReader, measuresSourcesWithoutReadingThemAndReadsEveryFrame)
{
    GeneratedMedia media;
    const QString wav = media.makeFromPieces("tone.wav", { { 2, "sine 440 vol 0.5" } });
    const QString image = media.write("image.bin", QByteArray(4 * 1000, '\0'));
    ASSERT_FALSE(wav.isEmpty() || image.isEmpty());
    const std::unique_ptr<SampleReader> reader = makeSampleReader();
    EXPECT_EQ(reader->expectedFrames({ .path = wav }), 2 * 44100);
    EXPECT_EQ(reader->expectedFrames({ .path = wav, .firstFrame = 44100 }), 44100);
    EXPECT_EQ(reader->expectedFrames({ .path = wav, .firstFrame = 100, .endFrame = 400 }), 300);
    EXPECT_EQ(reader->expectedFrames({ .kind = SoundSource::Kind::RawImage, .path = image, .firstFrame = 10 }), 990);
    EXPECT_EQ(reader->expectedFrames({ .kind = SoundSource::Kind::DriveTrack, .path = "/dev/cdrom", .track = 2 }), 0);
    EXPECT_EQ(reader->expectedFrames({ .path = media.path("missing.flac") }), 0);

    qint64 frames = 0;
    float loudest = 0;
    const std::atomic<bool> cancel { false };
    const auto take = [&](const float* samples, qint64 count) {
        for (const float* sample = samples; sample < samples + 2 * count; ++sample)
            loudest = std::max(loudest, std::abs(*sample));
        frames += count;
    };
    EXPECT_TRUE(reader->read({ .path = wav, .firstFrame = 4410 }, take, cancel));
    EXPECT_EQ(frames, 2 * 44100 - 4410);
    EXPECT_NEAR(loudest, 0.5, 0.01);
}

TEST(GstSampleReader, aDamagedFileFailsWithItsNameAndACancelStopsTheReading)
{
    GeneratedMedia media;
    const QString damaged = media.write("damaged.flac", QByteArray("fLaC") + QByteArray(5000, '\x5a'));
    const QString longer = media.makeFromPieces("long.flac", { { 300, "sine 440 vol 0.5" } });
    ASSERT_FALSE(longer.isEmpty());
    const std::unique_ptr<SampleReader> reader = makeSampleReader();
    std::atomic<bool> cancel { false };
    const QString failure = failureOf([&] { reader->read({ .path = damaged }, [](const float*, qint64) {}, cancel); });
    EXPECT_TRUE(failure.contains("damaged.flac")) << failure.toStdString();

    // Ignored, a cancel would leave the reader to decode the whole file.
    const qint64 before = bytesRead();
    qint64 frames = 0;
    const auto take = [&](const float*, qint64 count) {
        frames += count;
        cancel = frames >= 10 * 44100;
    };
    EXPECT_FALSE(reader->read({ .path = longer }, take, cancel));
    EXPECT_LT(bytesRead() - before, QFileInfo(longer).size() / 4);
    // The reader is ready for the next source.
    cancel = false;
    frames = 0;
    EXPECT_TRUE(reader->read({ .path = longer, .endFrame = 44100 }, take, cancel));
    EXPECT_EQ(frames, 44100);
}
