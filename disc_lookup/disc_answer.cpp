#include "disc_lookup/disc_answer.h"

#include "common/failure.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

// "A feat. B": each credited name and the phrase that joins it to the next.
QString creditText(const QJsonValue& credit)
{
    QString text;
    for (const QJsonValue& name : credit.toArray()) {
        const QString credited = name[QLatin1String("name")].toString();
        text += credited.isEmpty() ? name[QLatin1String("artist")][QLatin1String("name")].toString() : credited;
        text += name[QLatin1String("joinphrase")].toString();
    }
    return text.simplified();
}

bool carriesDisc(const QJsonValue& medium, const QString& discId)
{
    for (const QJsonValue& disc : medium[QLatin1String("discs")].toArray()) {
        if (disc[QLatin1String("id")].toString() == discId)
            return true;
    }
    return false;
}

// The release's medium that carries the disc, else its first.
QJsonObject mediumOf(const QJsonValue& release, const QString& discId)
{
    const QJsonArray media = release[QLatin1String("media")].toArray();
    for (const QJsonValue& medium : media) {
        if (carriesDisc(medium, discId))
            return medium.toObject();
    }
    return media.isEmpty() ? QJsonObject() : media.first().toObject();
}

} // namespace

LookedUpDisc discOfAnswer(const QByteArray& json, const QString& discId, int trackCount)
{
    const QJsonObject answer = QJsonDocument::fromJson(json).object();
    const QJsonArray releases = answer[QLatin1String("releases")].toArray();
    if (releases.isEmpty())
        throw Failure(QStringLiteral("its answer names no release"));
    QJsonValue release = releases.first();
    for (const QJsonValue& candidate : releases) {
        const QJsonValue medium = mediumOf(candidate, discId);
        if (carriesDisc(medium, discId) && medium[QLatin1String("tracks")].toArray().size() == trackCount) {
            release = candidate;
            break;
        }
    }
    const QString releaseArtist = creditText(release[QLatin1String("artist-credit")]);
    LookedUpDisc disc;
    disc.album = release[QLatin1String("title")].toString().simplified();
    for (const QJsonValue& track : mediumOf(release, discId)[QLatin1String("tracks")].toArray()) {
        QString artist = creditText(track[QLatin1String("artist-credit")]);
        if (artist.isEmpty())
            artist = creditText(track[QLatin1String("recording")][QLatin1String("artist-credit")]);
        if (artist.isEmpty())
            artist = releaseArtist;
        QString title = track[QLatin1String("title")].toString().simplified();
        if (title.isEmpty())
            title = track[QLatin1String("recording")][QLatin1String("title")].toString().simplified();
        disc.titles << (artist.isEmpty() || title.isEmpty() ? title : artist + QStringLiteral(" - ") + title);
    }
    if (disc.titles.isEmpty())
        throw Failure(QStringLiteral("its answer names no tracks"));
    return disc;
}
