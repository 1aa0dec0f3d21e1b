#pragma once

#include "disc_lookup/disc_title_cache.h"
#include "discs/disc.h"

#include <QObject>
#include <QSet>
#include <optional>

class DiscLookup;
class Discs;

// The titles of drive discs whose own text names nothing, as MusicBrainz names them:
// kept in the cache file, else looked up once per disc ID while the program runs.
class OnlineDiscTitles : public QObject {
    Q_OBJECT
public:
    OnlineDiscTitles(Discs& discs, DiscLookup& lookup, const QString& cachePath, QObject* parent = nullptr);

    // The title of a CD entry's track on such a disc; empty for any other entry, or
    // while none is known. Asking about a disc not known yet starts its lookup.
    QString titleOf(const QString& entryPath);
    // The album of such a disc, as titleOf.
    QString albumOf(const QString& entryPath);

Q_SIGNALS:
    // A disc's titles came: what shows titles shows them anew.
    void titlesArrived();
    // A lookup failed, in a sentence fit to show.
    void failed(const QString& message);

private:
    // What is known of the entry's disc, its disc and its track number; nothing as for
    // titleOf.
    struct Known {
        const LookedUpDisc& looked;
        Disc disc;
        int track;
    };
    std::optional<Known> knownOf(const QString& entryPath);
    void keep(const QString& discId, const LookedUpDisc& disc);

    Discs& m_discs;
    DiscLookup& m_lookup;
    QString m_cachePath;
    DiscTitleCache m_cache;
    QSet<QString> m_asked; // a disc that failed is asked again at the next start only
};
