#include "common/settings_lines.h"

#include "common/text_file.h"

#include <QFile>
#include <QFileInfo>

QStringList readSettingsLines(const QString& path, qint64 mostBytes)
{
    // A FIFO would block the start for good, and a device such as /dev/zero never ends.
    if (!QFileInfo(path).isFile())
        return {};
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return splitTextLines(file.read(mostBytes));
}
