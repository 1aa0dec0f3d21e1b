#pragma once

#include "common/gain_source.h"
#include "loudness/gain_plan.h"
#include "loudness/gain_tag_reader.h"

#include <QObject>

class ListFindings;
class Playlist;

// The gain every entry of the list plays at, under the chosen mode: from its tags,
// else from what the scan measured, else the fallback until it is measured. The
// scan panel and the track list show them. Tags are read aside once a mode needs them;
// an entry is read at once only when the run asks its gain first.
class ListGains : public QObject, public GainSource {
    Q_OBJECT
public:
    ListGains(const Playlist& playlist, ListFindings& findings, QObject* parent = nullptr);

    void setSettings(const GainSettings& settings);
    // The gain of the entry at index as things stand now, in dB.
    double gainDb(int index) override;
    // Index for index; empty when the loudness is left alone.
    const std::vector<EntryGain>& gains() const { return m_gains; }

Q_SIGNALS:
    void changed(const std::vector<EntryGain>& gains);

private:
    void update();
    std::vector<GainFacts> facts();

    const Playlist& m_playlist;
    ListFindings& m_findings;
    GainSettings m_settings;
    GainTagReader m_tags;
    std::vector<EntryGain> m_gains;
};
