#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStringList>
#include <QTemporaryDir>

// Writes short media files into a temporary folder with ffmpeg or sox, so that
// no binary test media are kept in the repository.
class GeneratedMedia {
public:
    // Runs program with arguments, among them name, the output file's name in the folder.
    QString make(const QString& program, QStringList arguments, const QString& name)
    {
        const QString path = m_dir.filePath(name);
        arguments.replaceInStrings(QRegularExpression(QStringLiteral("^") + QRegularExpression::escape(name) + "$"), path);
        QProcess process;
        process.start(program, arguments);
        return process.waitForFinished(30000) && process.exitCode() == 0 && QFile::exists(path) ? path : QString();
    }

    // A tone of the given length in the format ffmpeg's options choose, with a test picture when video is asked for.
    QString makeWithFfmpeg(const QString& name, double seconds, bool video, const QStringList& outputOptions,
                           int rate = 44100)
    {
        const QString length = QString::number(seconds);
        QStringList arguments { "-hide_banner", "-loglevel", "error", "-y", "-f", "lavfi", "-i",
                                QStringLiteral("sine=frequency=440:sample_rate=%1:duration=").arg(rate) + length };
        if (video)
            arguments << "-f" << "lavfi" << "-i" << "testsrc=size=64x48:rate=25:duration=" + length;
        return make(QStringLiteral("ffmpeg"), arguments << outputOptions << name, name);
    }

    // Pieces of sound, each "seconds effect" as sox's synth takes it, joined into one stereo file.
    QString makeFromPieces(const QString& name, std::initializer_list<std::pair<double, const char*>> pieces)
    {
        QStringList arguments { QStringLiteral("-D") };
        for (const auto& [seconds, sound] : pieces)
            arguments << QStringLiteral("|sox -n -r 44100 -c 2 -p synth %1 %2").arg(seconds).arg(QLatin1String(sound));
        return make(QStringLiteral("sox"), arguments << name, name);
    }

    // A sine tone made by sox, stereo at 44.1 kHz unless asked otherwise; 16-bit when bits says so.
    QString tone(const QString& name, double seconds, int frequency, double volume = 0.5, int rate = 44100,
                 int channels = 2, int bits = 0)
    {
        const QStringList depth = bits ? QStringList { "-b", QString::number(bits) } : QStringList();
        const QStringList synth { name, "synth", QString::number(seconds), "sine", QString::number(frequency), "vol", QString::number(volume) };
        return make("sox", QStringList { "-n", "-r", QString::number(rate), "-c", QString::number(channels) } + depth + synth, name);
    }

    QString write(const QString& name, const QByteArray& content)
    {
        QFile file(m_dir.filePath(name));
        return file.open(QIODevice::WriteOnly) && file.write(content) == content.size() ? file.fileName() : QString();
    }

    QString path(const QString& name) const { return m_dir.filePath(name); }

private:
    QTemporaryDir m_dir;
};
