#include "playlist/media_extensions.h"

#include <QFile>
#include <QMimeDatabase>
#include <QSet>
#include <algorithm>
#include <gtest/gtest.h>

namespace {

QSet<QString> desktopMimeTypes()
{
    QFile file(QStringLiteral(TRELVIK_SOURCE_DIR "/desktop/example.velkor.trelvik.desktop"));
    const QString text = file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    const QStringList types = text.section(QStringLiteral("\nMimeType="), 1).section(u'\n', 0, 0).split(u';', Qt::SkipEmptyParts);
    return QSet<QString>(types.begin(), types.end());
}

} // namespace

// A file manager offers "Open with Trelvik" for a file only when the launcher
// names the file's type: every type the system gives an extension the program
// takes must be there, by its name or an alias.
TEST(DesktopFile, namesTheTypeOfEveryFileTheProgramTakes)
{
    const QSet<QString> listed = desktopMimeTypes();
    ASSERT_FALSE(listed.isEmpty());
    const QMimeDatabase database;
    ASSERT_EQ(database.mimeTypeForFile(QStringLiteral("x.mp3"), QMimeDatabase::MatchExtension).name(), "audio/mpeg")
        << "no MIME database (shared-mime-info)";
    for (const FileExtension& extension : extensionTable()) {
        for (const QMimeType& type : database.mimeTypesForFileName(QStringLiteral("x") + extension.text.toString())) {
            QStringList names = type.aliases();
            names << type.name();
            const bool named = std::any_of(names.begin(), names.end(), [&](const QString& name) { return listed.contains(name); });
            EXPECT_TRUE(named) << extension.text.toString().toStdString() << " " << type.name().toStdString();
        }
    }
}
