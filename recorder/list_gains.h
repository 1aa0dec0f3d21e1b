#pragma once

#include "gain_tags/gain_tags.h"
#include "recorder/gain_plan.h"

#include <QHash>
#include <QObject>

class ListFindings;
class Playlist;

// The gain every entry of the list plays at, under the chosen mode: from its tags,
// else from what the scan measured, else the fallback until it is measured. The
// scan's findings show them.
class ListGains : public QObject {
    Q_OBJECT
public:
    ListGains(const Playlist& playlist, ListFindings& findings, QObject* parent = nullptr);

    void setSettings(const GainSettings& settings);
    // The gain of the entry at index as things stand now, in dB.
    double gainDb(int index);

private:
    void update();
    std::vector<GainFacts> facts();
    const GainTags& tagsOf(const QString& path);

    const Playlist& m_playlist;
    ListFindings& m_findings;
    GainSettings m_settings;
    QHash<QString, GainTags> m_tags; // read once a program run: tags seldom change under a list
    std::vector<EntryGain> m_gains;
};
