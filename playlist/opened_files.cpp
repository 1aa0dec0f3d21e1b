#include "playlist/opened_files.h"

#include "playlist/media_extensions.h"

#include <QDir>
#include <QFileInfo>

namespace {

// More names than fit on a screen only hide the ones above them.
constexpr qsizetype kMostNamed = 15;

// Why a file cannot go on the list; empty when it can.
QString refusal(const QFileInfo& file)
{
    if (!file.exists())
        return QStringLiteral("not found");
    if (file.isDir())
        return QStringLiteral("a folder");
    if (!endingExtension(file.fileName()))
        return QStringLiteral("not a type Trelvik plays");
    if (file.size() == 0)
        return QStringLiteral("empty");
    return {};
}

} // namespace

OpenedFiles sortOpenedFiles(const QStringList& names)
{
    OpenedFiles sorted;
    for (const QString& name : names) {
        const QFileInfo file(name);
        const QString path = file.absoluteFilePath();
        // A CD track's file is an empty stand-in, or none at all for a track of a CUE
        // sheet, named inside the sheet's path: its disc judges it.
        const std::optional<FileExtension> extension = endingExtension(path);
        const QString why = extension && extension->kind == FileKind::CdTrack ? QString() : refusal(file);
        if (why.isEmpty())
            sorted.taken << path;
        else
            sorted.refused << QDir::toNativeSeparators(path) + QStringLiteral(": ") + why;
    }
    return sorted;
}

QString refusedFilesMessage(const QStringList& refused)
{
    QString text = QStringLiteral("These files were not put on the list:\n");
    for (const QString& line : refused.mid(0, kMostNamed))
        text += u'\n' + line;
    if (refused.size() > kMostNamed)
        text += QStringLiteral("\n... and %1 more").arg(refused.size() - kMostNamed);
    return text;
}
