#include "recorder/scan_panel.h"

#include "common/failure.h"
#include "player/media_player.h"
#include "scan/list_findings.h"
#include "scan/list_gains.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

const QString kScanCaption = QStringLiteral("&Scan list");
const QString kCancelCaption = QStringLiteral("&Cancel scan");
constexpr int kTrackRole = Qt::UserRole;

} // namespace

ScanPanel::ScanPanel(ListFindings& findings, ListGains& gains, MediaPlayer& player, QWidget* parent)
    : QWidget(parent)
    , m_findings(findings)
    , m_gains(gains)
    , m_player(player)
    , m_scanButton(new QPushButton(kScanCaption, this))
    , m_progress(new QProgressBar(this))
    , m_findingsList(new QTreeWidget(this))
    , m_loudest(new QLabel(this))
    , m_playButton(new QPushButton(QStringLiteral("&Play loudest passage"), this))
    , m_stopButton(new QPushButton(QStringLiteral("S&top"), this))
{
    setObjectName(QStringLiteral("ScanPanel"));
    m_progress->setRange(0, 100);
    m_progress->setAccessibleName(QStringLiteral("Scan progress"));
    m_findingsList->setAccessibleName(QStringLiteral("Scan results"));
    m_findingsList->setColumnCount(3);
    m_findingsList->setHeaderLabels({ QStringLiteral("No."), QStringLiteral("Track"), QStringLiteral("Found") });
    m_findingsList->setRootIsDecorated(false);
    m_findingsList->setMinimumHeight(100); // room for a few findings before it scrolls
    m_findingsList->setUniformRowHeights(true);
    m_findingsList->header()->setStretchLastSection(true);
    m_loudest->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);

    auto* scanRow = new QHBoxLayout;
    scanRow->addWidget(m_scanButton);
    scanRow->addWidget(m_progress, 1);
    auto* playRow = new QHBoxLayout;
    playRow->addWidget(m_playButton);
    playRow->addWidget(m_stopButton);
    playRow->addStretch(1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(scanRow);
    layout->addWidget(m_findingsList, 1);
    layout->addWidget(m_loudest);
    layout->addLayout(playRow);

    connect(m_scanButton, &QPushButton::clicked, this, &ScanPanel::scanOrCancel);
    connect(m_playButton, &QPushButton::clicked, this, &ScanPanel::playLoudest);
    connect(m_stopButton, &QPushButton::clicked, this, &ScanPanel::endPassage);
    connect(&m_player, &MediaPlayer::endOfStream, this, &ScanPanel::endPassage);
    connect(&m_player, &MediaPlayer::failed, this, &ScanPanel::endPassage);
    connect(&m_findings, &ListFindings::changed, this, &ScanPanel::showAll);
    connect(&m_gains, &ListGains::changed, this, &ScanPanel::showAll);
    connect(&m_findings, &ListFindings::trackChanged, this, [this](int index) {
        showTrack(index);
        if (index > 0)
            showTrack(index - 1); // the gap before it is heard with its leading silence
        showLoudest();
    });
    connect(&m_findings, &ListFindings::percentChanged, m_progress, &QProgressBar::setValue);
    connect(&m_findings, &ListFindings::scanningChanged, this, &ScanPanel::showScanning);
    m_progress->setValue(m_findings.percent());
    showAll();
}

void ScanPanel::scanOrCancel()
{
    if (m_findings.isScanning())
        m_findings.cancel();
    else
        m_findings.scan();
}

void ScanPanel::showScanning()
{
    m_scanButton->setText(m_findings.isScanning() ? kCancelCaption : kScanCaption);
    m_scanButton->setEnabled(m_findings.isScanning() || !m_findings.tracks().isEmpty());
}

// Replaces the rows of one track, which stand in the list's order.
void ScanPanel::showTrack(int index)
{
    const ScanTrack& track = m_findings.tracks()[index];
    const QString toolTip = m_findings.failure(index);
    int row = 0;
    while (row < m_findingsList->topLevelItemCount()
           && m_findingsList->topLevelItem(row)->data(0, kTrackRole).toInt() < index)
        ++row;
    while (row < m_findingsList->topLevelItemCount()
           && m_findingsList->topLevelItem(row)->data(0, kTrackRole).toInt() == index)
        delete m_findingsList->takeTopLevelItem(row);
    QStringList texts = m_findings.texts(index);
    const std::vector<EntryGain>& gains = m_gains.gains();
    if (size_t(index) < gains.size() && gains[size_t(index)].from != EntryGain::From::Untouched) {
        const auto measured = m_findings.measured(index);
        texts << loudnessText(measured ? std::optional(measured->lufs) : std::nullopt, gains[size_t(index)]);
    }
    for (const QString& text : texts) {
        auto* item = new QTreeWidgetItem({ QString::number(index + 1), track.name, text });
        item->setData(0, kTrackRole, index);
        item->setToolTip(2, toolTip);
        m_findingsList->insertTopLevelItem(row++, item);
    }
}

void ScanPanel::showAll()
{
    m_findingsList->clear();
    for (int index = 0; index < m_findings.tracks().size(); ++index)
        showTrack(index);
    showLoudest();
    showScanning();
}

void ScanPanel::showLoudest()
{
    const std::vector<double> levels = levelsDb();
    m_loudest->setText(m_findings.loudestText(levels));
    m_playButton->setEnabled(m_findings.loudestTrack(levels).has_value());
}

void ScanPanel::playLoudest()
{
    const std::vector<double> levels = levelsDb();
    const std::optional<int> loudest = m_findings.loudestTrack(levels);
    const std::optional<SoundSource> passage = loudest ? m_findings.peakPassage(*loudest) : std::nullopt;
    if (!passage)
        return;
    m_passagePlaying = true;
    Q_EMIT passageStarting();
    try {
        m_player.stop(); // played at once, not after what sounds now
        m_player.play(*passage, 0, size_t(*loudest) < levels.size() ? levels[size_t(*loudest)] : 0);
    } catch (const Failure& failure) {
        m_loudest->setText(failure.description());
        endPassage();
    }
}

// The player's ends are also a run's: only a passage this panel played ends here.
// Its output is closed with it, or it would go on playing silence to the device.
void ScanPanel::endPassage()
{
    if (!std::exchange(m_passagePlaying, false))
        return;
    m_player.stop();
    Q_EMIT passageOver();
}

std::vector<double> ScanPanel::levelsDb() const
{
    std::vector<double> levels;
    for (const EntryGain& gain : m_gains.gains())
        levels.push_back(gain.db);
    return levels;
}
