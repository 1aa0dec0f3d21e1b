#include "player/gst_media_player.h"
#include "support/failure_text.h"
#include "support/generated_media.h"
#include "support/qt_printers.h"
#include "support/pulse_null_sink.h"
#include "support/sound_stretches.h"

#include <QSignalSpy>
#include <QTest>
#include <algorithm>
#include <gtest/gtest.h>

namespace {

// The frames from the first one with sound on.
std::vector<qint16> fromFirstSound(const WavSamples& wav)
{
    const auto first = std::find_if(wav.samples.begin(), wav.samples.end(), [](qint16 sample) { return sample != 0; });
    return std::vector<qint16>(wav.samples.begin() + (first - wav.samples.begin()) / 2 * 2, wav.samples.end());
}

// At full volume, a 16-bit file into a 16-bit output of its rate comes out as it
// is: neither dithered nor scaled nor resampled, to the last bit, through loud noise
// that reaches full scale and a quiet tone a few steps high, each channel its own.
TEST(PulseOutputTest, aSixteenBitFileIsHeardSampleForSample)
{
    PulseNullSink sink;
    GeneratedMedia media;
    const QString file = media.make(QStringLiteral("sox"), { "-D", "|sox -D -r 44100 -c 2 -n -p synth 1.5 whitenoise whitenoise",
        "|sox -D -r 44100 -c 2 -n -p synth 1.5 sine 1000 sine 1500 vol 0.002", "-b", "16", "passages.wav" }, "passages.wav");
    const QString recording = media.path(QStringLiteral("deck.wav"));
    ASSERT_TRUE(sink.ready() && !file.isEmpty() && sink.startRecording(recording, 2));
    {
        GstMediaPlayer player;
        QSignalSpy ended(&player, &MediaPlayer::endOfStream);
        player.play(file, 0);
        ASSERT_TRUE(ended.wait(8000));
        QTest::qWait(300);
    }
    sink.stopRecording();

    const std::vector<qint16> played = fromFirstSound(readWav(file)), heard = fromFirstSound(readWav(recording));
    ASSERT_EQ(played.size(), size_t(3 * 44100 * 2));
    ASSERT_GE(heard.size(), played.size());
    const auto [low, high] = std::minmax_element(played.begin(), played.end());
    EXPECT_TRUE(*low <= -32700 && *high >= 32700) << "full scale is not reached: " << *low << " to " << *high;
    size_t differing = 0;
    for (size_t i = 0; i < played.size(); ++i) {
        if (heard[i] != played[i] && differing++ < 5)
            ADD_FAILURE() << "sample " << i << ": " << played[i] << " heard as " << heard[i];
    }
    EXPECT_EQ(differing, 0u);
}

// A run played to a chosen output is heard there and nowhere else, until the
// system's default is chosen again; an output the sound server does not have is
// named when play() fails, and spoils nothing after it. A stream that lost its way,
// its output unplugged under it or its sound server gone, is not played on again:
// the next play reaches the output chosen, once it is back, and a sound server
// started anew.
TEST(PulseOutputTest, aChosenOutputAloneHearsTheRunsPlayedToIt_evenAfterALostOutputOrServer)
{
    GeneratedMedia media;
    const QString tone = media.tone(QStringLiteral("tone.wav"), 1.5, 440);
    ASSERT_FALSE(tone.isEmpty());
    GstMediaPlayer player;
    QSignalSpy started(&player, &MediaPlayer::soundStarted), ended(&player, &MediaPlayer::endOfStream);
    const auto playTo = [&](const QString& output) {
        player.setOutput(output);
        ended.clear();
        EXPECT_EQ(failureOf([&] { player.play(tone, 0); }), QString()) << output.toStdString();
        EXPECT_TRUE(ended.wait(8000)) << output.toStdString();
        QTest::qWait(300);
        player.stop();
    };
    // Starts the tone on the output and lets lose go under it.
    const auto lose = [&](const std::function<void()>& lose) {
        player.play(tone, 0);
        ASSERT_TRUE(started.wait(5000));
        lose();
        QTest::qWait(500);
        player.stop();
    };
    {
        PulseNullSink sink;
        ASSERT_TRUE(sink.ready() && sink.addSink(QStringLiteral("deck2"), QStringLiteral("Deck2")));
        player.setOutput(QStringLiteral("deck2"));
        lose([&] { ASSERT_TRUE(sink.removeSink(QStringLiteral("deck2"))); }); // the sound server moves the stream elsewhere
        ASSERT_TRUE(sink.addSink(QStringLiteral("deck2"), QStringLiteral("Deck2")));
        const QString deck = media.path(QStringLiteral("deck.wav")), deck2 = media.path(QStringLiteral("deck2.wav"));
        ASSERT_TRUE(sink.startRecording(deck) && sink.startRecording(deck2, 1, QStringLiteral("deck2")));
        playTo(QStringLiteral("deck2"));
        playTo({});
        player.setOutput(QStringLiteral("deck3"));
        const QString failure = failureOf([&] { player.play(tone, 0); });
        EXPECT_TRUE(failure.contains(QStringLiteral("deck3"))) << "played to an output that is not there: " << failure.toStdString();
        playTo(QStringLiteral("deck2"));
        sink.stopRecording();
        EXPECT_EQ(std::pair(soundStretches(deck2).size(), soundStretches(deck).size()), std::pair(size_t(2), size_t(1)));

        player.setOutput({});
        lose([&] { sink.stopServer(); });
    }
    PulseNullSink restarted;
    const QString heard = media.path(QStringLiteral("restarted.wav"));
    ASSERT_TRUE(restarted.ready() && restarted.startRecording(heard));
    playTo({});
    restarted.stopRecording();
    EXPECT_EQ(soundStretches(heard).size(), 1u);
}

} // namespace
