#include "sound_server/sound_outputs.h"
#include "sound_server/waiting_other_sounds.h"
#include "support/pulse_null_sink.h"
#include "support/pulse_streams.h"
#include "support/qt_printers.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <gtest/gtest.h>

void PrintTo(const SoundOutput& output, std::ostream* out)
{
    *out << output.name.toStdString() << " (" << output.description.toStdString() << ", " << output.rate << " Hz)";
}

namespace {

bool changesTo(SoundOutputs& outputs, const std::vector<SoundOutput>& expected)
{
    QSignalSpy changed(&outputs, &SoundOutputs::changed);
    return QTest::qWaitFor([&] { return outputs.outputs() == expected; }, 10000) && !changed.isEmpty();
}

TEST(PulseSoundOutputs, followsOutputsAsTheyComeAndGo_andTheServerAsItGoesAndComesBack_tellingWhyWithoutIt)
{
    auto sink = std::make_unique<PulseNullSink>();
    ASSERT_TRUE(sink->ready()) << "no PulseAudio server with a null sink could be started";
    const SoundOutput deck { QStringLiteral("deck"), QStringLiteral("Null Output"), 44100 };

    const std::unique_ptr<SoundOutputs> outputs = makeSoundOutputs();
    EXPECT_EQ(outputs->outputs(), std::vector<SoundOutput> { deck });
    EXPECT_EQ(outputs->problem(), QString());

    const QString module = pactl({"load-module", "module-null-sink", "sink_name=deck2", "rate=48000",
                                  "sink_properties=device.description=Deck2"});
    EXPECT_TRUE(changesTo(*outputs, { deck, { QStringLiteral("deck2"), QStringLiteral("Deck2"), 48000 } }));
    pactl({ "unload-module", module });
    EXPECT_TRUE(changesTo(*outputs, { deck }));

    // Without a server the outputs tell why there are none, and other sounds why they cannot be kept off.
    sink->stopServer();
    EXPECT_TRUE(changesTo(*outputs, {}));
    EXPECT_TRUE(outputs->problem().startsWith(QStringLiteral("The sound server cannot be reached: ")))
        << outputs->problem().toStdString();
    const std::unique_ptr<SoundOutputs> unreached = makeSoundOutputs();
    EXPECT_TRUE(unreached->outputs().empty());
    EXPECT_EQ(unreached->problem(), QStringLiteral("The sound server cannot be reached: Connection refused"));
    QTemporaryDir dir;
    const std::unique_ptr<WaitingOtherSounds> sounds = makePulseOtherSounds(dir.filePath(QStringLiteral("muted.txt")));
    EXPECT_EQ(sounds->keepOff(QStringLiteral("deck")), QStringLiteral("Other sounds cannot be kept off the recording: Connection refused"));
    sounds->restore();

    sink = std::make_unique<PulseNullSink>();
    ASSERT_TRUE(sink->ready());
    EXPECT_TRUE(changesTo(*outputs, { deck }) && outputs->problem().isEmpty()) << outputs->problem().toStdString();
}

} // namespace
