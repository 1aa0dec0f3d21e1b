#include "common/failure.h"
#include "common/text_file.h"
#include "fuzz/temporary_file.h"

#include <cstdlib>

// Lines read from a file, a buffer at a time, must be the lines split from its bytes
// (the reader passes over a leading byte-order mark).
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const QTemporaryDir dir;
    QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    if (bytes.startsWith("\xEF\xBB\xBF"))
        bytes.remove(0, 3);
    try {
        TextLineReader reader(writeInput(dir, QStringLiteral("text.txt"), data, size));
        QStringList lines;
        for (QString line; reader.readLine(line);)
            lines << line;
        if (lines != splitTextLines(bytes))
            std::abort();
    } catch (const Failure&) {
    }
    return 0;
}
