#include "session/settings_file.h"
#include "common/text_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    (void)parseSettings(splitTextLines(bytes));
    return 0;
}
