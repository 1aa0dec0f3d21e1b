#include "support/generated_media.h"
#include "support/pulse_null_sink.h"
#include "support/pulse_streams.h"
#include "support/sound_stretches.h"
#include "support/sounding_run.h"

#include "recorder/recorder_window.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QtEndian>
#include <gtest/gtest.h>

namespace {

// The samples of a 16-bit mono WAV as parec writes it: a 44-byte header, then the data.
std::vector<qint16> samplesOf(const QString& wavPath)
{
    QFile file(wavPath);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray data = file.readAll().mid(44);
    std::vector<qint16> samples(size_t(data.size() / 2));
    for (size_t i = 0; i < samples.size(); ++i)
        samples[i] = qFromLittleEndian<qint16>(data.constData() + 2 * i);
    return samples;
}

// Records a sink's monitor the way PulseNullSink records its own.
class MonitorRecording {
public:
    MonitorRecording(const QString& sink, const QString& wavPath)
    {
        m_parec.start(QStringLiteral("parec"), {"-d", sink + ".monitor", "--file-format=wav", "--format=s16le",
                                                "--rate=44100", "--channels=1", "--latency-msec=10", wavPath});
        m_started = m_parec.waitForStarted(5000)
            && QTest::qWaitFor([&] { return QFileInfo(wavPath).size() > 44; }, 5000);
    }
    ~MonitorRecording() { stop(); }
    bool started() const { return m_started; }
    void stop()
    {
        if (m_parec.state() == QProcess::NotRunning)
            return;
        m_parec.terminate();
        if (!m_parec.waitForFinished(5000))
            m_parec.kill();
    }

private:
    QProcess m_parec;
    bool m_started = false;
};

} // namespace

// The deck on the second output hears the run and nothing else: another program's tone on
// that output is muted for the run, so the gaps are digitally silent, and is heard again
// after. The default output hears nothing of the run.
TEST(OutputEndToEnd, theRunIsHeardOnTheChosenOutputOnlyWithOtherSoundsKeptOff)
{
    PulseNullSink sink; // "deck", the default output
    ASSERT_TRUE(sink.ready()) << "no PulseAudio server with a null sink could be started";
    ASSERT_FALSE(loadNullSink("deck2", "Deck2").isEmpty());
    GeneratedMedia media;
    const QString other = media.make("sox", {"-n", "-r", "44100", "-c", "2", "other.wav", "synth", "60", "sine", "440",
                                             "vol", "0.3"},
                                     "other.wav");
    ASSERT_FALSE(other.isEmpty());
    SoundingRun run;
    for (int i = 1; i <= 3; ++i) {
        const QString path = SoundingRun::makeTone(media, QStringLiteral("track%1.wav").arg(i), 0.8, 1000);
        ASSERT_FALSE(path.isEmpty());
        run.add(path, 0.8, 700);
    }
    RecorderWindow& recorder = run.window.recorderWindow();
    auto* choice = recorder.findChild<QComboBox*>("OutputChoice");
    ASSERT_TRUE(QTest::qWaitFor([&] { return choice->findData("deck2") >= 0; }, 5000)) << "the output is not listed";
    EXPECT_EQ(choice->itemText(choice->findData("deck2")), "Deck2");
    choice->setCurrentIndex(choice->findData("deck2"));
    Q_EMIT choice->activated(choice->currentIndex());
    recorder.findChild<QCheckBox*>("KeepOtherSoundsBox")->setChecked(true);

    QProcess otherProgram;
    otherProgram.start("paplay", {"-d", "deck2", other});
    ASSERT_TRUE(otherProgram.waitForStarted(5000));
    ASSERT_TRUE(streamOf(otherProgram.processId())) << "the other program's stream did not start";
    const QString onDeck = media.path("deck.wav"), onDeck2 = media.path("deck2.wav");
    ASSERT_TRUE(sink.startRecording(onDeck));
    MonitorRecording deck2(QStringLiteral("deck2"), onDeck2);
    ASSERT_TRUE(deck2.started());
    run.play(30000);
    ASSERT_FALSE(run.window.busyState().recording()) << "the run did not end";
    EXPECT_TRUE(run.dialogs.messages.empty()) << run.dialogs.messages.front().text.toStdString();
    EXPECT_FALSE(isMuted(otherProgram.processId())) << "the other program is not heard again";
    QThread::msleep(300); // the last samples reach the monitors
    sink.stopRecording();
    deck2.stop();
    otherProgram.kill();
    otherProgram.waitForFinished(5000);

    const std::vector<qint16> defaultHeard = samplesOf(onDeck);
    ASSERT_FALSE(defaultHeard.empty());
    EXPECT_TRUE(std::all_of(defaultHeard.begin(), defaultHeard.end(), [](qint16 s) { return s == 0; }))
        << "the default output heard something";

    // The run's tracks are the stretches of their length; the other program sounds longer.
    std::vector<SoundStretch> tracks;
    for (const SoundStretch& stretch : soundStretches(onDeck2, 0.02))
        if (std::abs(stretch.length() - 0.8) < 0.005)
            tracks.push_back(stretch);
    ASSERT_GE(tracks.size(), 2u) << "the run was not heard on the chosen output";
    const std::vector<qint16> heard = samplesOf(onDeck2);
    for (size_t i = 0; i + 1 < tracks.size(); ++i) {
        const double silence = tracks[i + 1].start - tracks[i].end;
        EXPECT_GE(silence * 1000, 699) << "gap " << i + 1;
        EXPECT_LE(silence * 1000, 800) << "gap " << i + 1;
        // A sine's edges fall below the stretch threshold: a few samples in from each edge,
        // the gap must be digital silence.
        const auto from = heard.begin() + qsizetype(tracks[i].end * 44100) + 20;
        const auto to = heard.begin() + qsizetype(tracks[i + 1].start * 44100) - 20;
        EXPECT_TRUE(std::all_of(from, to, [](qint16 s) { return s == 0; })) << "something sounded in gap " << i + 1;
    }
}
