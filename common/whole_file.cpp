#include "common/whole_file.h"

#include "common/failure.h"

#include <QSaveFile>

void writeWholeFile(const QString& path, const QByteArray& content)
{
    QSaveFile file(path);
    // Unbuffered, so a failed write is seen here and never only in commit's flush,
    // which would rename a cut-off file over the target. A short write (a full disk,
    // a size limit) sets no error; writing the rest then fails with the system's reason.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        throw Failure(file.errorString());
    for (qint64 written = 0; written < content.size();) {
        const qint64 count = file.write(content.constData() + written, content.size() - written);
        if (count <= 0)
            throw Failure(file.errorString());
        written += count;
    }
    if (!file.commit())
        throw Failure(file.errorString());
}
