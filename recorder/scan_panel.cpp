#include "recorder/scan_panel.h"

#include "common/failure.h"
#include "player/media_player.h"
#include "recorder/passage_around.h"
#include "recorder/scan_findings.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <cmath>
#include <utility>

namespace {

const QString kScanCaption = QStringLiteral("&Scan list");
const QString kCancelCaption = QStringLiteral("&Cancel scan");
constexpr int kTrackRole = Qt::UserRole;

} // namespace

ScanPanel::ScanPanel(MediaPlayer& player, QWidget* parent)
    : QWidget(parent)
    , m_player(player)
    , m_scanButton(new QPushButton(kScanCaption, this))
    , m_progress(new QProgressBar(this))
    , m_findings(new QTreeWidget(this))
    , m_loudest(new QLabel(this))
    , m_playButton(new QPushButton(QStringLiteral("&Play loudest passage"), this))
    , m_stopButton(new QPushButton(QStringLiteral("S&top"), this))
{
    setObjectName(QStringLiteral("ScanPanel"));
    m_progress->setRange(0, 100);
    m_progress->setValue(0);
    m_progress->setAccessibleName(QStringLiteral("Scan progress"));
    m_findings->setAccessibleName(QStringLiteral("Scan results"));
    m_findings->setColumnCount(3);
    m_findings->setHeaderLabels({ QStringLiteral("No."), QStringLiteral("Track"), QStringLiteral("Found") });
    m_findings->setRootIsDecorated(false);
    m_findings->setMinimumHeight(160); // room for a few findings before it scrolls
    m_findings->setUniformRowHeights(true);
    m_findings->header()->setStretchLastSection(true);
    m_loudest->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    m_playButton->setEnabled(false);

    auto* scanRow = new QHBoxLayout;
    scanRow->addWidget(m_scanButton);
    scanRow->addWidget(m_progress, 1);
    auto* playRow = new QHBoxLayout;
    playRow->addWidget(m_playButton);
    playRow->addWidget(m_stopButton);
    playRow->addStretch(1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(scanRow);
    layout->addWidget(m_findings, 1);
    layout->addWidget(m_loudest);
    layout->addLayout(playRow);

    connect(m_scanButton, &QPushButton::clicked, this, &ScanPanel::scanOrCancel);
    connect(m_playButton, &QPushButton::clicked, this, &ScanPanel::playLoudest);
    connect(m_stopButton, &QPushButton::clicked, this, [this] { m_player.stop(); });
    connect(&m_scan, &ListScan::progressChanged, this, [this](int percent) {
        if (!m_scanForOldList)
            m_progress->setValue(percent);
    });
    connect(&m_scan, &ListScan::trackScanned, this, &ScanPanel::onScanned);
    connect(&m_scan, &ListScan::trackFailed, this, &ScanPanel::onFailed);
    connect(&m_scan, &ListScan::finished, this, &ScanPanel::onFinished);
    setTracks({});
}

void ScanPanel::setRule(const SilenceRule& rule)
{
    m_rule = rule;
    for (TrackResult& result : m_results) {
        if (result.envelope)
            result.silences = quietPassages(*result.envelope, m_rule);
    }
    showAll();
}

void ScanPanel::setTracks(const QList<ScanTrack>& tracks)
{
    if (m_scan.isRunning()) {
        m_scan.cancel();
        m_scanForOldList = true;
    }
    m_scanButton->setText(kScanCaption);
    m_scanButton->setEnabled(!tracks.isEmpty());
    m_progress->setValue(0);
    m_tracks = tracks;
    m_results = QList<TrackResult>(tracks.size());
    showAll();
}

void ScanPanel::scanOrCancel()
{
    if (m_scan.isRunning() && !m_scanForOldList) {
        m_scan.cancel();
        return;
    }
    m_scanForOldList = false;
    m_results = QList<TrackResult>(m_tracks.size());
    showAll();
    m_progress->setValue(0);
    m_scanButton->setText(kCancelCaption);
    QList<SoundSource> sources;
    for (const ScanTrack& track : m_tracks)
        sources << track.source;
    m_scan.start(sources);
}

void ScanPanel::onScanned(int index, const LevelEnvelope& envelope)
{
    if (m_scanForOldList)
        return;
    TrackResult& result = m_results[index];
    result.envelope = envelope;
    result.silences = quietPassages(envelope, m_rule);
    result.peak = peak(envelope);
    showTrack(index);
    if (index > 0)
        showTrack(index - 1); // the gap before it is heard with its leading silence
    showLoudest();
}

void ScanPanel::onFailed(int index, const QString& description)
{
    if (m_scanForOldList)
        return;
    m_results[index].failure = description;
    showTrack(index);
}

void ScanPanel::onFinished()
{
    if (std::exchange(m_scanForOldList, false))
        return;
    m_scanButton->setText(kScanCaption);
}

// Replaces the rows of one track, which stand in the list's order.
void ScanPanel::showTrack(int index)
{
    const ScanTrack& track = m_tracks[index];
    const TrackResult& result = m_results[index];
    QStringList texts;
    QString toolTip;
    if (!result.failure.isEmpty()) {
        texts << scanFailedText(result.failure);
        toolTip = result.failure;
    } else if (result.envelope && !std::isfinite(result.peak.db)) {
        texts << silentTrackText(m_rule.thresholdDb);
    } else if (result.envelope) {
        for (const QuietPassage& passage : result.silences.inside)
            texts << quietPassageText(passage);
    }
    if (!track.last) {
        double heard = track.gapSeconds + result.silences.trailingSeconds;
        if (index + 1 < m_results.size())
            heard += m_results[index + 1].silences.leadingSeconds;
        if (heard < m_rule.minimumSeconds)
            texts << shortGapText(track.gapSeconds, heard, m_rule.minimumSeconds);
    }
    if (result.failure.isEmpty() && result.envelope && std::isfinite(result.peak.db))
        texts << peakText(result.peak);

    int row = 0;
    while (row < m_findings->topLevelItemCount() && m_findings->topLevelItem(row)->data(0, kTrackRole).toInt() < index)
        ++row;
    while (row < m_findings->topLevelItemCount() && m_findings->topLevelItem(row)->data(0, kTrackRole).toInt() == index)
        delete m_findings->takeTopLevelItem(row);
    for (const QString& text : texts) {
        auto* item = new QTreeWidgetItem({ QString::number(index + 1), track.name, text });
        item->setData(0, kTrackRole, index);
        item->setToolTip(2, toolTip);
        m_findings->insertTopLevelItem(row++, item);
    }
}

void ScanPanel::showAll()
{
    m_findings->clear();
    for (int index = 0; index < m_tracks.size(); ++index)
        showTrack(index);
    showLoudest();
}

void ScanPanel::showLoudest()
{
    const std::optional<int> loudest = loudestTrack();
    m_playButton->setEnabled(loudest.has_value());
    if (!loudest) {
        m_loudest->setText(QStringLiteral("Loudest peak of the list: not known until the list is scanned"));
        return;
    }
    m_loudest->setText(loudestPeakText(m_results[*loudest].peak, *loudest + 1));
}

std::optional<int> ScanPanel::loudestTrack() const
{
    std::optional<int> loudest;
    for (int index = 0; index < m_results.size(); ++index) {
        const TrackResult& result = m_results[index];
        if (result.envelope && std::isfinite(result.peak.db) && (!loudest || result.peak.db > m_results[*loudest].peak.db))
            loudest = index;
    }
    return loudest;
}

void ScanPanel::playLoudest()
{
    const std::optional<int> loudest = loudestTrack();
    if (!loudest)
        return;
    const TrackResult& result = m_results[*loudest];
    try {
        m_player.stop(); // played at once, not after what sounds now
        m_player.play(passageAround(m_tracks[*loudest].source, *result.envelope, result.peak.seconds), 0);
    } catch (const Failure& failure) {
        m_loudest->setText(failure.description());
    }
}
