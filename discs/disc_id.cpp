#include "discs/disc_id.h"

#include <QCryptographicHash>

namespace {

// Sectors before the first track's start (2 s), as the ID counts them.
constexpr qint64 kLeadIn = 150;
// Between the audio and the data session of an enhanced CD: its lead-out, lead-in and pregap.
constexpr qint64 kSessionGap = 11400;

QByteArray hex(qint64 value, int digits)
{
    return QByteArray::number(value, 16).toUpper().rightJustified(digits, '0');
}

} // namespace

QString musicBrainzDiscId(const Disc& disc)
{
    int first = 1;
    while (first <= disc.tracks.size() && disc.tracks[first - 1].sectors <= 0)
        ++first; // numbers the disc skips
    int last = int(disc.tracks.size());
    qint64 leadOut = disc.leadOut;
    if (last > first && !disc.tracks[last - 1].audio) {
        leadOut = disc.tracks[last - 1].start - kSessionGap;
        --last;
    }
    if (first > last || last > 99 || leadOut <= 0)
        return {};
    QByteArray text = hex(first, 2) + hex(last, 2) + hex(leadOut + kLeadIn, 8);
    for (int number = 1; number <= 99; ++number)
        text += hex(number >= first && number <= last ? disc.tracks[number - 1].start + kLeadIn : 0, 8);
    QByteArray id = QCryptographicHash::hash(text, QCryptographicHash::Sha1).toBase64();
    id.replace('+', '.').replace('/', '_').replace('=', '-');
    return QString::fromLatin1(id);
}
