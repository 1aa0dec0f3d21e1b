#include "disc_lookup/online_disc_titles.h"

#include "common/failure.h"
#include "discs/cd_entry.h"
#include "discs/disc_id.h"
#include "discs/discs.h"
#include "disc_lookup/disc_lookup.h"

#include <algorithm>

OnlineDiscTitles::OnlineDiscTitles(Discs& discs, DiscLookup& lookup, const QString& cachePath, QObject* parent)
    : QObject(parent)
    , m_discs(discs)
    , m_lookup(lookup)
    , m_cachePath(cachePath)
    , m_cache(readDiscTitleCache(cachePath))
{
    connect(&lookup, &DiscLookup::found, this, &OnlineDiscTitles::keep);
    connect(&lookup, &DiscLookup::failed, this, [this](const QString&, const QString& message) {
        Q_EMIT failed(message);
    });
}

QString OnlineDiscTitles::titleOf(const QString& entryPath)
{
    const std::optional<Known> known = knownOf(entryPath);
    if (!known)
        return {};
    // The service's first track is the disc's first number.
    qsizetype first = 0;
    while (first < known->disc.tracks.size() && known->disc.tracks[first].sectors <= 0)
        ++first;
    const qsizetype index = known->track - 1 - first;
    return index >= 0 && index < known->looked.titles.size() ? known->looked.titles[index] : QString();
}

QString OnlineDiscTitles::albumOf(const QString& entryPath)
{
    const std::optional<Known> known = knownOf(entryPath);
    return known ? known->looked.album : QString();
}

std::optional<OnlineDiscTitles::Known> OnlineDiscTitles::knownOf(const QString& entryPath)
{
    const std::optional<CdEntry> entry = cdEntryOf(entryPath);
    if (!entry || isCueSheet(entry->disc)) // a sheet's own lines name its tracks
        return std::nullopt;
    std::optional<Disc> disc;
    try {
        disc = m_discs.disc(entry->disc);
    } catch (const Failure&) {
        return std::nullopt;
    }
    const auto named = [](const DiscTrack& track) { return !track.title.isEmpty(); };
    if (!disc || !disc->title.isEmpty() || std::any_of(disc->tracks.cbegin(), disc->tracks.cend(), named))
        return std::nullopt;
    const QString id = musicBrainzDiscId(*disc);
    if (id.isEmpty())
        return std::nullopt;
    const auto known = m_cache.constFind(id);
    if (known == m_cache.cend()) {
        if (!m_asked.contains(id)) {
            m_asked.insert(id);
            const auto audio = [](const DiscTrack& track) { return track.audio && track.sectors > 0; };
            m_lookup.lookUp(id, int(std::count_if(disc->tracks.cbegin(), disc->tracks.cend(), audio)));
        }
        return std::nullopt;
    }
    return Known{*known, std::move(*disc), entry->track};
}

void OnlineDiscTitles::keep(const QString& discId, const LookedUpDisc& disc)
{
    m_cache.insert(discId, disc);
    try {
        writeDiscTitleCache(m_cachePath, m_cache);
    } catch (const Failure& failure) {
        // The titles hold until the program ends; the next start asks again.
        qWarning("%s not written: %s", qUtf8Printable(kDiscTitleCacheFileName), qUtf8Printable(failure.description()));
    }
    Q_EMIT titlesArrived();
}
