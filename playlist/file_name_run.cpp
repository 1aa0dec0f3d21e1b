#include "playlist/file_name_run.h"

#include "common/failure.h"
#include "common/text_file.h"
#include "playlist/media_extensions.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

QStringList fileNames(const QStringList& paths)
{
    QStringList names;
    for (const QString& path : paths)
        names << QFileInfo(path).fileName();
    return names;
}

// Deletes the file when it goes out of scope, whatever happened in between.
class RemovedAtExit {
public:
    explicit RemovedAtExit(const QString& path)
        : m_path(path)
    {
    }
    ~RemovedAtExit() { QFile::remove(m_path); }
    RemovedAtExit(const RemovedAtExit&) = delete;
    RemovedAtExit& operator=(const RemovedAtExit&) = delete;

private:
    QString m_path;
};

} // namespace

QString fileNameRun(const QStringList& chosenPaths)
{
    if (chosenPaths.size() == 1)
        return QDir::toNativeSeparators(chosenPaths.first());
    if (chosenPaths.isEmpty())
        return {};
    const QString folder = QFileInfo(chosenPaths.first()).absolutePath();
    return QDir::toNativeSeparators(folder) + fileNames(chosenPaths).join(QString());
}

QString passThroughFileList(const QString& run, const QString& folder)
{
    const QString path = QDir(folder).filePath(QStringLiteral("filelist.tmp"));
    const RemovedAtExit removed(path);
    try {
        writeTextFile(path, {run});
        TextLineReader reader(path);
        QString line;
        reader.readLine(line);
        return line;
    } catch (const Failure& failure) {
        // The system's reason alone ("No space left on device") names no file.
        throw Failure(QStringLiteral("The chosen files cannot be added: %1 cannot be written or read back: %2")
                          .arg(QDir::toNativeSeparators(path), failure.description()));
    }
}

QStringList namesToAdd(const QString& run, const QStringList& chosenPaths, bool everyType)
{
    const QStringList names = fileNames(chosenPaths);
    if (!run.endsWith(names.join(QString())))
        throw Failure(QStringLiteral("The chosen file names could not be read back from filelist.tmp."));
    const std::optional<FileExtension> extension = endingExtension(run);
    if (!extension && !everyType)
        return {};
    // Split at the names themselves: an extension that also occurs inside a name
    // (my.mp3.old.mp3) must not cut that name in two.
    QStringList chosen;
    for (const QString& name : names) {
        if (everyType ? endingExtension(name).has_value() : name.endsWith(extension->text, Qt::CaseInsensitive))
            chosen << name;
    }
    return chosen;
}
