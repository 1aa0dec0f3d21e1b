#include "fuzz/temporary_file.h"
#include "player/mp3_encoder_trim.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const QTemporaryDir dir;
    (void)mp3EncoderTrim(writeInput(dir, QStringLiteral("song.mp3"), data, size));
    return 0;
}
