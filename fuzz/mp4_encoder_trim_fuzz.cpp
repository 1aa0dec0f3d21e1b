#include "fuzz/temporary_file.h"
#include "player/mp4_encoder_trim.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const QTemporaryDir dir;
    (void)mp4EncoderTrim(writeInput(dir, QStringLiteral("song.m4a"), data, size));
    return 0;
}
