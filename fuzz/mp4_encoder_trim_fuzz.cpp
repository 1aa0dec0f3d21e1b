#include "fuzz/temporary_file.h"
#include "player/mp4_encoder_trim.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const QTemporaryDir dir;
    const QString path = writeInput(dir, QStringLiteral("song.m4a"), data, size);
    (void)mp4EncoderTrim(path);
    (void)mp4PrimingEdit(path);
    return 0;
}
