#include "scan/list_findings.h"

#include "scan/passage_around.h"
#include "scan/scan_findings.h"

#include <QSet>
#include <algorithm>
#include <cmath>
#include <utility>

ListFindings::ListFindings(SampleReader& reader, const QString& cachePath, QObject* parent)
    : QObject(parent)
    , m_scan(reader, cachePath)
{
    connect(&m_scan, &ListScan::progressChanged, this, &ListFindings::setPercent);
    connect(&m_scan, &ListScan::trackScanned, this, [this](int index, const TrackMeasure& measure) {
        const LevelEnvelope& envelope = measure.envelope;
        keep(index, {envelope, quietPassages(envelope, m_rule), peak(envelope), {}, measure.loudnessLufs});
    });
    connect(&m_scan, &ListScan::trackFailed, this,
            [this](int index, const QString& description) { keep(index, {{}, {}, {}, description}); });
    connect(&m_scan, &ListScan::finished, this, [this] { Q_EMIT scanningChanged(false); });
}

void ListFindings::setRule(const SilenceRule& rule)
{
    m_rule = rule;
    for (Found& found : m_found) {
        if (found.envelope)
            found.silences = quietPassages(*found.envelope, m_rule);
    }
    Q_EMIT changed();
}

void ListFindings::setTracks(const QList<ScanTrack>& tracks)
{
    if (tracks == m_tracks)
        return;
    const bool sameSounds = soundsOf(tracks) == soundsOf(m_tracks);
    m_tracks = tracks;
    QSet<QString> kept;
    for (const ScanTrack& track : std::as_const(m_tracks))
        kept.insert(keyOf(track.source));
    m_found.removeIf([&](const QHash<QString, Found>::iterator& found) { return !kept.contains(found.key()); });
    if (!sameSounds) {
        if (isScanning() && !m_cancelled)
            startScan();
        else
            setPercent(allFound() ? 100 : 0); // a track taken off a scanned list leaves it scanned
    }
    Q_EMIT changed();
}

void ListFindings::scan()
{
    // A file changed since it was last scanned is read again.
    m_found.clear();
    startScan();
    Q_EMIT changed();
}

void ListFindings::cancel()
{
    m_cancelled = true;
    m_scan.cancel();
}

void ListFindings::startScan()
{
    m_cancelled = false;
    const bool wasScanning = isScanning();
    m_scanned = soundsOf(m_tracks);
    setPercent(0);
    m_scan.start(m_scanned);
    if (!wasScanning)
        Q_EMIT scanningChanged(true);
}

QString ListFindings::keyOf(const SoundSource& source)
{
    return QStringLiteral("%1|%2|%3|%4|%5|%6")
        .arg(int(source.kind))
        .arg(source.track)
        .arg(source.firstFrame)
        .arg(source.endFrame)
        .arg(source.bigEndian)
        .arg(source.path);
}

QList<SoundSource> ListFindings::soundsOf(const QList<ScanTrack>& tracks)
{
    QList<SoundSource> sounds;
    for (const ScanTrack& track : tracks)
        sounds << track.source;
    return sounds;
}

const ListFindings::Found* ListFindings::foundFor(int index) const
{
    if (index < 0 || index >= m_tracks.size())
        return nullptr;
    const auto found = m_found.constFind(keyOf(m_tracks[index].source));
    return found == m_found.cend() ? nullptr : &*found;
}

void ListFindings::keep(int index, Found found)
{
    // The scan reads the list as it stands; the check only guards against a slip.
    if (index >= m_scanned.size() || index >= m_tracks.size() || m_tracks[index].source != m_scanned[index])
        return;
    m_found.insert(keyOf(m_scanned[index]), std::move(found));
    Q_EMIT trackChanged(index);
}

bool ListFindings::allFound() const
{
    return !m_tracks.isEmpty() && std::all_of(m_tracks.cbegin(), m_tracks.cend(), [this](const ScanTrack& track) {
        return m_found.contains(keyOf(track.source));
    });
}

void ListFindings::setPercent(int percent)
{
    if (std::exchange(m_percent, percent) != percent)
        Q_EMIT percentChanged(percent);
}

QStringList ListFindings::texts(int index) const
{
    const ScanTrack& track = m_tracks[index];
    const Found* found = foundFor(index);
    QStringList texts;
    const bool sounds = found && found->failure.isEmpty() && found->envelope && std::isfinite(found->peak.db);
    if (found && !found->failure.isEmpty()) {
        texts << scanFailedText(found->failure);
    } else if (found && found->envelope && !sounds) {
        texts << silentTrackText(m_rule.thresholdDb);
    } else if (sounds) {
        for (const QuietPassage& passage : found->silences.inside)
            texts << quietPassageText(passage);
    }
    if (!track.last) {
        // The recorder hears the gap with the silence at the ends of the tracks around it.
        double heard = track.gapSeconds + (found ? found->silences.trailingSeconds : 0);
        if (const Found* next = foundFor(index + 1))
            heard += next->silences.leadingSeconds;
        if (heard < m_rule.minimumSeconds)
            texts << shortGapText(track.gapSeconds, heard, m_rule.minimumSeconds);
    }
    if (sounds)
        texts << peakText(found->peak);
    return texts;
}

QString ListFindings::failure(int index) const
{
    const Found* found = foundFor(index);
    return found ? found->failure : QString();
}

namespace {

double levelOf(const std::vector<double>& levelsDb, int index)
{
    return size_t(index) < levelsDb.size() ? levelsDb[size_t(index)] : 0;
}

} // namespace

std::optional<int> ListFindings::loudestTrack(const std::vector<double>& levelsDb) const
{
    std::optional<int> loudest;
    double loudestDb = 0;
    for (int index = 0; index < m_tracks.size(); ++index) {
        const Found* found = foundFor(index);
        const double db = found && found->envelope ? found->peak.db + levelOf(levelsDb, index) : 0;
        if (found && found->envelope && std::isfinite(db) && (!loudest || db > loudestDb)) {
            loudest = index;
            loudestDb = db;
        }
    }
    return loudest;
}

QString ListFindings::loudestText(const std::vector<double>& levelsDb) const
{
    const std::optional<int> loudest = loudestTrack(levelsDb);
    if (!loudest)
        return QStringLiteral("Loudest peak of the list: not known until the list is scanned");
    PeakLevel peak = foundFor(*loudest)->peak;
    peak.db += levelOf(levelsDb, *loudest);
    return loudestPeakText(peak, *loudest + 1);
}

std::optional<ListFindings::Measured> ListFindings::measured(int index) const
{
    const Found* found = foundFor(index);
    if (!found || !found->envelope)
        return std::nullopt;
    return Measured {found->loudnessLufs, std::isfinite(found->peak.db) ? std::pow(10.0, found->peak.db / 20) : 0.0,
                     found->envelope->frames};
}

std::optional<SoundSource> ListFindings::peakPassage(int index) const
{
    const Found* found = foundFor(index);
    if (!found || !found->envelope)
        return std::nullopt;
    return passageAround(m_tracks[index].source, *found->envelope, found->peak.seconds);
}
