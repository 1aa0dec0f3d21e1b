#include "help_windows/version_file.h"

#include <QString>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    const VersionFields fields = splitVersionFile(text);
    (void)decideUpdate(fields, ownVersionNumber());
    return 0;
}
