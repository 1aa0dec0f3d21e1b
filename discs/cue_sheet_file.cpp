#include "discs/cue_sheet_file.h"

#include "common/failure.h"
#include "common/regular_file.h"

#include <QFile>
#include <QFileInfo>

namespace {

constexpr qint64 kMaxSheetBytes = 1024 * 1024;

} // namespace

CueSheet readCueSheetFile(const QString& path)
{
    const QString name = QFileInfo(path).fileName();
    const QString kind = notARegularFile(path);
    if (!kind.isEmpty())
        throw Failure(QStringLiteral("The CUE sheet %1 %2.").arg(name, kind));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw Failure(QStringLiteral("The CUE sheet %1 cannot be read: %2").arg(name, file.errorString()));
    const QByteArray bytes = file.read(kMaxSheetBytes + 1);
    if (file.error() != QFileDevice::NoError)
        throw Failure(QStringLiteral("The CUE sheet %1 cannot be read: %2").arg(name, file.errorString()));
    if (bytes.size() > kMaxSheetBytes)
        throw Failure(QStringLiteral("The CUE sheet %1 is over 1 MiB, too large to be one.").arg(name));
    try {
        return parseCueSheet(bytes);
    } catch (const Failure& failure) {
        throw Failure(QStringLiteral("The CUE sheet %1 cannot be used. %2").arg(name, failure.description()));
    }
}
