#include "file_headers/file_stretch.h"
#include "fuzz/temporary_file.h"

// What the decoder makes of the file's iTunes comment or priming edit at its output
// rate, for the whole file and for a stretch of it.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const QTemporaryDir dir;
    const QString path = writeInput(dir, QStringLiteral("song.m4a"), data, size);
    (void)fileStretch(path, 0, -1, 44100);
    (void)fileStretch(path, 44100, 88200, 44100);
    return 0;
}
