#include "common/failure.h"
#include "fuzz/temporary_file.h"
#include "playlist_files/playlist_reader.h"

// The first byte picks the format; the rest is the playlist.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const QTemporaryDir dir;
    if (size == 0)
        return 0;
    const QString name = data[0] % 2 ? QStringLiteral("list.pls") : QStringLiteral("list.m3u");
    const QString path = writeInput(dir, name, data + 1, size - 1);
    try {
        readPlaylist(path, [](const QString& entry) { (void)entry.size(); });
    } catch (const Failure&) {
    }
    return 0;
}
