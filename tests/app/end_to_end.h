#pragma once

#include "support/generated_media.h"
#include "support/pulse_null_sink.h"
#include "support/sounding_run.h"

#include <gtest/gtest.h>

// A sound server of the test's own, whose null sink "deck" is recorded as a deck
// on the line output would hear it, and a folder for the media and the recordings.
class EndToEndTest : public ::testing::Test {
protected:
    PulseNullSink sink; // first: the players made later must find its server
    GeneratedMedia media;

    void SetUp() override { ASSERT_TRUE(sink.ready()) << "no PulseAudio server with a null sink could be started"; }

    // Plays the whole run while the deck is recorded, into a file of its own; the
    // recording, or none when it did not start or the run did not end. A run that
    // ends is expected to have warned of nothing.
    QString recorded(SoundingRun& run, int channels = 1, int limitMs = 30000)
    {
        const QString recording = media.path(QStringLiteral("deck%1.wav").arg(++m_recordings));
        if (!run.recordRun(sink, recording, channels, limitMs))
            return {};
        EXPECT_EQ(run.dialogs.takeWarnings(), QStringList());
        return recording;
    }

private:
    int m_recordings = 0;
};
