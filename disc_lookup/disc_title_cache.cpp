#include "disc_lookup/disc_title_cache.h"

#include "common/regular_file.h"
#include "common/whole_file.h"

#include <QFile>
#include <QFileInfo>
#include <algorithm>

namespace {

const QByteArray kFirstLine = "Trelvik disc titles 1";
// Thousands of discs; a larger file is none of ours and is not read into memory.
constexpr qint64 kMostBytes = 4 << 20;

bool isDiscId(const QString& text)
{
    return text.size() == 28 && std::all_of(text.begin(), text.end(), [](QChar c) {
               return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || (c >= u'0' && c <= u'9') || c == u'.'
                      || c == u'_' || c == u'-';
           });
}

// A field never holds the tab or line break that would end it.
QString field(const QString& text)
{
    return text.simplified();
}

} // namespace

DiscTitleCache parseDiscTitleCache(const QByteArray& bytes)
{
    DiscTitleCache cache;
    if (bytes.size() > kMostBytes || !bytes.startsWith(kFirstLine + '\n'))
        return cache;
    const QList<QByteArray> lines = bytes.split('\n');
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const QStringList fields = QString::fromUtf8(lines[i]).split(u'\t');
        if (fields.size() < 3 || !isDiscId(fields[0]))
            continue;
        LookedUpDisc disc;
        disc.album = field(fields[1]);
        for (qsizetype f = 2; f < fields.size(); ++f)
            disc.titles << field(fields[f]);
        cache.insert(fields[0], disc);
    }
    return cache;
}

QByteArray discTitleCacheBytes(const DiscTitleCache& cache)
{
    QByteArray bytes = kFirstLine + '\n';
    for (auto disc = cache.cbegin(); disc != cache.cend(); ++disc) {
        QStringList fields { disc.key(), field(disc->album) };
        for (const QString& title : disc->titles)
            fields << field(title);
        bytes += fields.join(u'\t').toUtf8() + '\n';
    }
    return bytes;
}

DiscTitleCache readDiscTitleCache(const QString& path)
{
    QFile file(path);
    if (!notARegularFile(path).isEmpty() || QFileInfo(path).size() > kMostBytes || !file.open(QIODevice::ReadOnly))
        return {};
    return parseDiscTitleCache(file.read(kMostBytes + 1));
}

void writeDiscTitleCache(const QString& path, const DiscTitleCache& cache)
{
    writeWholeFile(path, discTitleCacheBytes(cache));
}
