#include "playlist/media_extensions.h"

#include <QFile>
#include <QMimeDatabase>
#include <algorithm>
#include <gtest/gtest.h>

// A file manager offers "Open with Trelvik" for a file only when the launcher
// names the file's type: every type the system gives an extension the program
// takes must be there, by its name or an alias.
TEST(DesktopFile, namesTheTypeOfEveryFileTheProgramTakes)
{
    QFile file(QStringLiteral(TRELVIK_SOURCE_DIR "/desktop/example.velkor.trelvik.desktop"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QStringList listed = QString::fromUtf8(file.readAll()).section(QStringLiteral("\nMimeType="), 1).section(u'\n', 0, 0).split(u';');
    const QMimeDatabase database;
    ASSERT_EQ(database.mimeTypeForFile(QStringLiteral("x.mp3"), QMimeDatabase::MatchExtension).name(), "audio/mpeg")
        << "no MIME database (shared-mime-info)";
    for (const FileExtension& extension : extensionTable()) {
        for (const QMimeType& type : database.mimeTypesForFileName(QStringLiteral("x") + extension.text.toString())) {
            const QStringList names = type.aliases() << type.name();
            EXPECT_TRUE(std::any_of(names.begin(), names.end(), [&](const QString& name) { return listed.contains(name); }))
                << extension.text.toString().toStdString() << " " << type.name().toStdString();
        }
    }
}
