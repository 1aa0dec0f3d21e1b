#include "common/regular_file.h"

#include <QFileInfo>
#include <filesystem>

QString notARegularFile(const QString& path)
{
    namespace fs = std::filesystem;
    std::error_code error;
    const fs::file_status status = fs::status(QFileInfo(path).filesystemFilePath(), error);
    switch (status.type()) {
    case fs::file_type::regular:
    case fs::file_type::not_found:
        return {};
    case fs::file_type::directory:
        return QStringLiteral("is a folder");
    default:
        break;
    }
    if (error)
        return QStringLiteral("cannot be read: ") + QString::fromLocal8Bit(error.message());
    return QStringLiteral("is not a regular file");
}
