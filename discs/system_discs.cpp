#include "discs/system_discs.h"

#include "common/failure.h"
#include "discs/cdio_drive.h"
#include "discs/cue_disc.h"

namespace {

std::optional<Disc> readDisc(const QString& sheet)
{
    if (sheet.isEmpty())
        return readDriveDisc(QString());
    // A sheet that cannot be used is a missing disc here; adding it said why.
    try {
        return discOfCueSheet(sheet);
    } catch (const Failure&) {
        return std::nullopt;
    }
}

} // namespace

std::optional<Disc> SystemDiscs::disc(const QString& discPath)
{
    const QString key = isCueSheet(discPath) ? discPath : QString();
    auto read = m_read.constFind(key);
    if (read == m_read.cend())
        read = m_read.insert(key, readDisc(key));
    return *read;
}
