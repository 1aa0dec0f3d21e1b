#include "common/playlist_table.h"
#include "playlist_files/playlist_reader.h"
#include "playlist_files/playlist_writer.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>
#include <cstdio>

// Writes and reads back a full playlist (32768 entries) in both formats and prints
// the time each takes and the file size.
int main()
{
    QTemporaryDir dir;
    PlaylistTable table;
    while (table.size() < kMostPlaylistEntries) {
        const QString path = QStringLiteral("/home/user/Music/Some Artist/Some Album/%1 Song title.mp3")
                                 .arg(table.size() + 1, 5, 10, QChar(u'0'));
        table.push_back({path, 245, 0});
    }
    for (const PlaylistFormat format : {PlaylistFormat::M3u, PlaylistFormat::Pls}) {
        const bool m3u = format == PlaylistFormat::M3u;
        const QString path = dir.filePath(m3u ? QStringLiteral("full.m3u") : QStringLiteral("full.pls"));
        QElapsedTimer timer;
        timer.start();
        writePlaylist(path, format, table);
        const qint64 writeMs = timer.restart();
        int paths = 0;
        readPlaylist(path, [&](const QString&) { ++paths; });
        const qint64 readMs = timer.elapsed();
        std::printf("%s: %d entries, %lld bytes, write %lld ms, read %lld ms (%d paths)\n",
                    m3u ? "M3U" : "PLS", int(table.size()), static_cast<long long>(QFileInfo(path).size()),
                    static_cast<long long>(writeMs), static_cast<long long>(readMs), paths);
    }
    return 0;
}
