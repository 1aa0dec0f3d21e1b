#include "sound_server/waiting_other_sounds.h"
#include "sound_server/sound_outputs.h"
#include "support/qt_printers.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <optional>

namespace {

TEST(NoSoundServer, outputsTellWhyThereAreNone_andOtherSoundsWhyTheyCannotBeKeptOff)
{
    QTemporaryDir dir;
    const std::optional<QByteArray> server = qEnvironmentVariableIsSet("PULSE_SERVER") ? std::optional(qgetenv("PULSE_SERVER")) : std::nullopt;
    qputenv("PULSE_SERVER", "unix:" + dir.filePath(QStringLiteral("no-server")).toUtf8());

    const std::unique_ptr<SoundOutputs> outputs = makeSoundOutputs();
    EXPECT_TRUE(outputs->outputs().empty());
    EXPECT_EQ(outputs->problem(), QStringLiteral("The sound server cannot be reached: Connection refused"));

    const std::unique_ptr<WaitingOtherSounds> sounds = makePulseOtherSounds(dir.filePath(QStringLiteral("muted.txt")));
    EXPECT_EQ(sounds->keepOff(QStringLiteral("deck")),
              QStringLiteral("Other sounds cannot be kept off the recording: Connection refused"));
    sounds->restore();

    server ? qputenv("PULSE_SERVER", *server) : qunsetenv("PULSE_SERVER");
}

} // namespace
