#include "recorder/gain_tag_reader.h"
#include "support/generated_media.h"

#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

// Tags are read aside and handed over on the window's thread; asked for at once,
// a file is read there and then; a reader dropped with a long queue does not wait
// for the queue.
TEST(GainTagReader, readsAsideOrAtOnceAndStopsWithoutWorkingOffItsQueue)
{
    GeneratedMedia media;
    const QString wav = media.tone("tone.wav", 0.2, 440, 1, 44100, 2, 16);
    const QString flac = media.make("flac", {"-s", "-o", "tagged.flac", wav}, "tagged.flac");
    ASSERT_FALSE(flac.isEmpty());
    QProcess metaflac;
    metaflac.start("metaflac", {"--set-tag=REPLAYGAIN_TRACK_GAIN=-6.5 dB", flac});
    ASSERT_TRUE(metaflac.waitForFinished(30000) && metaflac.exitCode() == 0);
    const QString copy = media.path("copy.flac");
    ASSERT_TRUE(QFile::copy(flac, copy));

    GainTagReader reader;
    QSignalSpy read(&reader, &GainTagReader::tagsRead);
    EXPECT_EQ(reader.find(flac), nullptr);
    ASSERT_TRUE(QTest::qWaitFor([&] { return reader.find(flac) != nullptr; }, 10000));
    EXPECT_EQ(reader.find(flac)->trackGain, -6.5);
    EXPECT_GE(read.count(), 1);
    EXPECT_EQ(reader.readNow(copy).trackGain, -6.5);
    EXPECT_EQ(reader.readNow(wav), GainTags());

    auto queued = std::make_unique<GainTagReader>();
    for (int i = 0; i < 20000; ++i)
        queued->find(flac + QString::number(i));
    queued.reset();
}
