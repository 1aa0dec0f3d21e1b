#include "common/failure.h"
#include "disc_lookup/disc_answer.h"
#include "disc_lookup/disc_title_cache.h"

#include <cstdlib>

// The title cache reads back as it was written, and the web service's answer is read
// or refused, whatever either holds.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const DiscTitleCache cache = parseDiscTitleCache(bytes);
    const QByteArray written = discTitleCacheBytes(cache);
    if (written.size() < (1 << 20) && parseDiscTitleCache(written) != cache)
        std::abort();
    try {
        (void)discOfAnswer(bytes, QStringLiteral("49HHV7Eb8UKF3aQiNmu1GR8vKTY-"), 2);
    } catch (const Failure&) {
    }
    return 0;
}
