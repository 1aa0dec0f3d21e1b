#include "end_to_end.h"
#include "support/heard_sound.h"
#include "support/pulse_null_sink.h"
#include "support/sounding_run.h"

namespace {

// Pieces of tone ("seconds frequency", 0 for silence) joined at CD rate into a file the
// name's extension chooses; raw CD audio, 16-bit little-endian stereo, for another one.
QString cdAudio(GeneratedMedia& media, const QString& name, std::initializer_list<std::pair<double, int>> pieces)
{
    QStringList arguments { "-D" };
    for (const auto& [seconds, frequency] : pieces)
        arguments << QStringLiteral("|sox -n -r 44100 -c 2 -p synth %1 sine %2 vol %3")
                         .arg(seconds).arg(frequency).arg(frequency ? 0.5 : 0);
    arguments << "-b" << "16";
    if (!name.endsWith(".flac"))
        arguments << "-t" << "raw" << "-e" << "signed" << "-L";
    return media.make(QStringLiteral("sox"), arguments << name, name);
}

} // namespace

using CdImageEndToEnd = EndToEndTest;

// A disc image (a BIN with a pregap before its second track) and a single-file FLAC
// rip, put on the list as sheets, played between media files: the recorder hears
// each track whole, nothing of the track after it, and each silence exact.
TEST_F(CdImageEndToEnd, imageAndRipTracksAreHeardWholeWithExactSilences)
{
    // Image: track 1 is 1.2 s of tone and 0.4 s of silence (the pregap of track 2),
    // track 2 is 1.0 s. Rip: a 0.8 s track and a 1.4 s one.
    ASSERT_FALSE(cdAudio(media, "disc.bin", { { 1.2, 440 }, { 0.4, 0 }, { 1.0, 660 } }).isEmpty());
    ASSERT_FALSE(cdAudio(media, "rip.flac", { { 0.8, 550 }, { 1.4, 440 } }).isEmpty());
    const QString image = media.write("disc.cue", "FILE \"disc.bin\" BINARY\n  TRACK 01 AUDIO\n    INDEX 01 00:00:00\n"
                                                  "  TRACK 02 AUDIO\n    INDEX 00 00:01:15\n    INDEX 01 00:01:45\n");
    const QString rip = media.write("rip.cue", "FILE \"rip.flac\" WAVE\n  TRACK 01 AUDIO\n    INDEX 01 00:00:00\n"
                                               "  TRACK 02 AUDIO\n    INDEX 01 00:00:60\n");
    const QString before = media.tone("before.wav", 1.0, 550);
    const QString after = media.tone("after.wav", 0.6, 660);

    SoundingRun run;
    run.window.addFiles({ before, image, rip, after });
    const QStringList expected { before, image + "/Track01.cda", image + "/Track02.cda", rip + "/Track01.cda",
                                 rip + "/Track02.cda", after };
    QStringList paths;
    QList<qint64> lengths;
    for (const PlaylistEntry& entry : run.window.playlist().table())
        paths << entry.path, lengths << entry.length;
    ASSERT_EQ(paths, expected) << run.dialogs.messages.size();
    EXPECT_EQ(lengths, QList<qint64>({ 1, 1, 1, 0, 1, 0 })); // whole seconds, as the drive tells them
    const double gaps[] = { 300, 700, 250, 900, 400, 0 };
    for (int row = 0; row < 6; ++row)
        run.window.playlist().setGap(row, gaps[row]);

    const QString recording = recorded(run);
    ASSERT_FALSE(recording.isEmpty()) << "no recording, or the run did not end";
    // The pregap is silence at the end of image track 1: it adds to the silence after it.
    expectHeard(recording, { 1.0, 1.2, 1.0, 0.8, 1.4, 0.6 }, { 300, 400 + 700, 250, 900, 400 });
}
