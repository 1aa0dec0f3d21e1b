#include "common/playlist_table.h"
#include "playlist_files/playlist_reader.h"
#include "playlist_files/playlist_writer.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>
#include <cstdio>
#include <memory>

// Writes and reads back a full playlist (32768 entries) in both formats and prints
// the time each takes and the file size.
int main()
{
    QTemporaryDir dir;
    auto table = std::make_unique<PlaylistTable>();
    while (table->count() < PlaylistTable::kCapacity) {
        PlaylistEntry& entry = (*table)[table->claimSlot()];
        entry.path = QStringLiteral("/home/user/Music/Some Artist/Some Album/%1 Song title.mp3")
                         .arg(table->count(), 5, 10, QChar(u'0'));
        entry.length = QStringLiteral("245");
    }
    for (const int format : {1, 2}) {
        const QString path = dir.filePath(format == 1 ? QStringLiteral("full.m3u") : QStringLiteral("full.pls"));
        QElapsedTimer timer;
        timer.start();
        writePlaylist(path, format, *table);
        const qint64 writeMs = timer.restart();
        int paths = 0;
        readPlaylist(path, [&](const QString&) { ++paths; });
        const qint64 readMs = timer.elapsed();
        std::printf("%s: %d entries, %lld bytes, write %lld ms, read %lld ms (%d paths)\n",
                    format == 1 ? "M3U" : "PLS", table->count(), static_cast<long long>(QFileInfo(path).size()),
                    static_cast<long long>(writeMs), static_cast<long long>(readMs), paths);
    }
    return 0;
}
