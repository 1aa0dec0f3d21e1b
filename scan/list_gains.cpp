#include "scan/list_gains.h"

#include "discs/cd_entry.h"
#include "playlist/playlist.h"
#include "scan/list_findings.h"

#include <QFileInfo>

ListGains::ListGains(const Playlist& playlist, ListFindings& findings, QObject* parent)
    : QObject(parent)
    , m_playlist(playlist)
    , m_findings(findings)
{
    connect(&findings, &ListFindings::changed, this, &ListGains::update);
    connect(&findings, &ListFindings::trackChanged, this, &ListGains::update);
    connect(&m_tags, &GainTagReader::tagsRead, this, &ListGains::update);
}

void ListGains::setSettings(const GainSettings& settings)
{
    m_settings = settings;
    update();
}

double ListGains::gainDb(int index)
{
    const PlaylistTable& table = m_playlist.table();
    if (m_settings.mode != GainMode::Off && size_t(index) < table.size() && !isCdEntry(table[size_t(index)].path))
        m_tags.readNow(table[size_t(index)].path);
    update();
    return size_t(index) < m_gains.size() ? m_gains[size_t(index)].db : 0;
}

void ListGains::update()
{
    std::vector<EntryGain> gains =
        m_settings.mode == GainMode::Off ? std::vector<EntryGain>() : planGains(facts(), m_settings);
    if (sameGains(gains, m_gains))
        return;
    m_gains = std::move(gains);
    Q_EMIT changed(m_gains);
}

std::vector<GainFacts> ListGains::facts()
{
    const PlaylistTable& table = m_playlist.table();
    const QList<ScanTrack>& scanned = m_findings.tracks();
    std::vector<GainFacts> facts(table.size());
    for (size_t index = 0; index < table.size(); ++index) {
        const QString& path = table[index].path;
        // A disc has no tags; a file's unread tags count as none until they come.
        const GainTags* read = isCdEntry(path) ? nullptr : m_tags.find(path);
        const GainTags tags = read ? *read : GainTags();
        GainFacts& entry = facts[index];
        entry.trackGain = tags.trackGain;
        entry.trackPeak = tags.trackPeak;
        entry.albumGain = tags.albumGain;
        entry.albumPeak = tags.albumPeak;
        // Without an album tag, a sheet's tracks or a folder's files make an album.
        const std::optional<CdEntry> cd = cdEntryOf(path);
        entry.album = !tags.album.isEmpty() ? QStringLiteral("tag:") + tags.album
                      : cd                  ? QStringLiteral("disc:") + cd->disc
                                            : QStringLiteral("folder:") + QFileInfo(path).path();
        // The findings catch up with the list a moment after it changes.
        const bool sameTrack = qsizetype(index) < scanned.size()
            && (scanned[qsizetype(index)].source.path == path || cd);
        if (const auto measured = sameTrack ? m_findings.measured(int(index)) : std::nullopt) {
            entry.measuredLufs = measured->lufs;
            entry.measuredPeak = measured->peak;
            entry.frames = measured->frames;
        }
    }
    return facts;
}
