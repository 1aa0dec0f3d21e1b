// Adds whole folders of short MP3 and WAV files through "&Add files" on a shown
// window and prints files per second and resident memory.

#include "app/main_window.h"
#include "common/flat_button.h"
#include "support/fake_cable_probe.h"
#include "support/fake_input_listener.h"
#include "support/fake_dialogs.h"
#include "support/fake_discs.h"
#include "support/fake_media_player.h"
#include "support/fake_keep_awake.h"
#include "support/fake_other_sounds.h"
#include "support/fake_sample_reader.h"
#include "support/fake_sound_outputs.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <cstdio>
#include <filesystem>

namespace {

bool run(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments);
    return process.waitForFinished(60000) && process.exitCode() == 0;
}

QString residentMemory()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return QStringLiteral("n/a");
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return QString::fromLatin1(line.mid(6).trimmed());
    }
    return QStringLiteral("n/a");
}

// count files in a folder of their own, named so that the extension sorts them: each
// source in turn gets an equal run of hard links to it, under its own extension.
QList<QStringList> makeFolder(const QString& folder, int count, const QStringList& sources)
{
    std::filesystem::create_directory(folder.toStdString());
    QList<QStringList> runs(sources.size());
    for (int i = 0; i < count; ++i) {
        const qsizetype source = qsizetype(i) * sources.size() / count;
        const QString path = QStringLiteral("%1/song %2.%3").arg(folder).arg(i, 5, 10, QChar(u'0')).arg(QFileInfo(sources[source]).suffix());
        std::filesystem::create_hard_link(sources[source].toStdString(), path.toStdString());
        runs[source] << path;
    }
    return runs;
}

// Adds each run of files with one click.
void measure(const QString& programDir, const QList<QStringList>& runs)
{
    FakeDialogs dialogs;
    FakeDiscs discs;
    FakeMediaPlayer player; // knows no file: every length must come from the headers
    FakeSampleReader reader;
    FakeSoundOutputs outputs;
    FakeOtherSounds otherSounds;
    FakeKeepAwake keepAwake;
    FakeCableProbe cableProbe;
    FakeInputListener inputListener;
    MainWindow window({dialogs, discs, player, reader, outputs, outputs, cableProbe, inputListener, otherSounds, keepAwake, programDir, programDir, programDir, {}});
    window.setAttribute(Qt::WA_DeleteOnClose, false);
    window.setUpColumns();
    window.show();
    QCoreApplication::processEvents();

    QStringList types;
    qsizetype count = 0;
    for (const QStringList& run : runs) {
        dialogs.fileAnswers.push_back(run);
        types << QFileInfo(run.first()).suffix();
        count += run.size();
    }
    QElapsedTimer timer;
    timer.start();
    for (qsizetype i = 0; i < runs.size(); ++i)
        window.ui.addFiles->click();
    const double seconds = timer.nsecsElapsed() / 1e9;

    int wrong = 0;
    for (const PlaylistEntry& entry : window.playlist().table()) {
        if (entry.length != 3)
            ++wrong;
    }
    std::printf("%6lld files (%s): %7.3f s, %8.0f files/s, %d added, %d lengths not 3 s, "
                "%zu messages, resident memory %s\n",
                qlonglong(count), qPrintable(types.join(u' ')), seconds, count / seconds, window.playlist().count(), wrong,
                dialogs.messages.size(), qPrintable(residentMemory()));
    std::fflush(stdout);
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir dir;
    const QString wav = dir.filePath(QStringLiteral("source.wav"));
    const QString mp3 = dir.filePath(QStringLiteral("source.mp3"));
    const QString flac = dir.filePath(QStringLiteral("source.flac"));
    const QString opus = dir.filePath(QStringLiteral("source.opus"));
    if (!run(QStringLiteral("sox"), {QStringLiteral("-n"), QStringLiteral("-r"), QStringLiteral("44100"),
                                     QStringLiteral("-c"), QStringLiteral("2"), wav, QStringLiteral("synth"),
                                     QStringLiteral("3.4"), QStringLiteral("sine"), QStringLiteral("440")})
        || !run(QStringLiteral("lame"), {QStringLiteral("--quiet"), wav, mp3})
        || !run(QStringLiteral("ffmpeg"), {QStringLiteral("-v"), QStringLiteral("quiet"), QStringLiteral("-i"), wav, flac})
        || !run(QStringLiteral("ffmpeg"), {QStringLiteral("-v"), QStringLiteral("quiet"), QStringLiteral("-i"), wav, opus})) {
        std::fprintf(stderr, "sox, lame and ffmpeg are needed to make the test audio\n");
        return 1;
    }
    measure(dir.path(), makeFolder(dir.filePath(QStringLiteral("flac")), 1000, {flac}));
    measure(dir.path(), makeFolder(dir.filePath(QStringLiteral("opus")), 1000, {opus}));
    for (const int count : {1000, 32768}) {
        const QString folder = dir.filePath(QString::number(count));
        measure(dir.path(), makeFolder(folder, count, {mp3, wav, flac, opus}));
    }
    return 0;
}
