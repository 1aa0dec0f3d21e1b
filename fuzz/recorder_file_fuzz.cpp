#include "common/text_file.h"
#include "medium/output_choice.h"
#include "medium/recorder_file.h"
#include "medium/sides_file.h"
#include "temporary_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const QStringList lines = splitTextLines(bytes);
    (void)parseRecorder(lines);
    (void)parseOutputChoice(lines);
    static const QTemporaryDir dir;
    (void)readSidesFile(writeInput(dir, kSidesFileName, data, size));
    return 0;
}
