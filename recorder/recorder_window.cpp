#include "recorder/recorder_window.h"

#include "common/named_widget.h"
#include "common/number_text.h"
#include "playlist/playlist.h"
#include "medium/medium_fit.h"
#include "medium/side_plan_text.h"
#include "recorder/track_list_panel.h"

#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <iterator>

namespace {

QString secondsText(double seconds)
{
    return plainNumber(seconds) + QStringLiteral(" s");
}

QString ruleText(const RecorderKind& kind)
{
    return QStringLiteral("A new track starts after %1 below %2 dB.\nSuggested gap: %3.")
        .arg(secondsText(kind.silence.minimumSeconds), plainNumber(kind.silence.thresholdDb),
             secondsText(kind.suggestedGapSeconds));
}

} // namespace

RecorderWindow::RecorderWindow(const Playlist& playlist, Dialogs& dialogs, const RecorderKind& recorder,
                               const SideSettings& sides, QWidget* parent)
    : QWidget(parent, Qt::Window)
    , m_playlist(playlist)
    , m_recorder(recorder)
    , m_sideSettings(sides)
{
    setObjectName(QStringLiteral("RecorderWindow"));
    setWindowTitle(QStringLiteral("Recorder"));
    // Its figures are written with a point, as everywhere else in the program; a
    // comma locale would otherwise read "1.5" typed in a box as 15.
    setLocale(QLocale::c());
    auto* layout = new QVBoxLayout(this);
    // What the recorder is, what it is fed and how the list fits, side by side, to
    // leave the height to the lists.
    auto* top = new QHBoxLayout;
    top->addWidget(buildRecorderChoice(), 3);
    auto* output = new QGroupBox(QStringLiteral("Output"));
    m_outputArea = new QVBoxLayout(output);
    top->addWidget(output, 4);
    top->addWidget(buildFit(), 4);
    layout->addLayout(top);
    // The room left goes mostly to the track list.
    m_trackList = new TrackListPanel(dialogs);
    layout->addWidget(m_trackList, 3);
    m_scanArea = new QVBoxLayout;
    layout->addLayout(m_scanArea, 2);
    setTabOrder();
    resize(sizeHint());

    showRecorder();
    m_refreshTimer.setSingleShot(true);
    m_refreshTimer.setInterval(0);
    connect(&m_refreshTimer, &QTimer::timeout, this, &RecorderWindow::refresh);
    const auto refreshSoon = [this] { m_refreshTimer.start(); };
    connect(&playlist, &Playlist::entryAppended, this, refreshSoon);
    connect(&playlist, &Playlist::entriesChanged, this, refreshSoon);
    connect(&playlist, &Playlist::cleared, this, refreshSoon);
    connect(&playlist, &Playlist::totalChanged, this, refreshSoon);
}

QWidget* RecorderWindow::buildRecorderChoice()
{
    auto* box = new QGroupBox(QStringLiteral("Recorder"));
    auto* form = new QFormLayout(box);
    m_choice = named(new QComboBox, "RecorderChoice", QStringLiteral("Recorder"));
    for (const RecorderKind& kind : recorderKinds())
        m_choice->addItem(kind.name, kind.id);
    m_choice->addItem(QStringLiteral("Custom"), kCustomRecorderId);
    auto* choiceLabel = new QLabel(QStringLiteral("&Recorder:"));
    choiceLabel->setBuddy(m_choice);
    form->addRow(choiceLabel, m_choice);

    using R = CustomRecorderRanges;
    m_customFigures = new QWidget;
    // Two figures a row, so that the window still fits a laptop's screen with them showing.
    auto* figures = new QGridLayout(m_customFigures);
    figures->setContentsMargins(0, 0, 0, 0);
    m_minutes = named(new QSpinBox, "MinutesBox", QStringLiteral("Minutes"));
    m_minutes->setRange(int(R::kMinutesLeast), int(R::kMinutesMost));
    m_trackLimit = named(new QSpinBox, "TrackLimitBox", QStringLiteral("Track limit"));
    m_trackLimit->setRange(0, R::kTrackLimitMost);
    m_trackLimit->setSpecialValueText(QStringLiteral("None"));
    m_threshold = named(new QDoubleSpinBox, "ThresholdBox", QStringLiteral("Threshold in dB"));
    m_threshold->setRange(R::kThresholdLeast, R::kThresholdMost);
    m_threshold->setDecimals(1);
    m_minimumSilence = named(new QDoubleSpinBox, "MinimumSilenceBox", QStringLiteral("Minimum silence in seconds"));
    m_minimumSilence->setRange(0, R::kSilenceMost);
    m_minimumSilence->setDecimals(1);
    m_minimumSilence->setSingleStep(0.5);
    m_sides = named(new QSpinBox, "SidesBox", QStringLiteral("Sides"));
    m_sides->setRange(1, R::kSidesMost);
    m_sides->setToolTip(QStringLiteral("With two sides, the minutes are a side's"));
    const std::pair<const char*, QWidget*> boxes[] = {{"&Minutes:", m_minutes},
                                                      {"Track &limit:", m_trackLimit},
                                                      {"T&hreshold (dB):", m_threshold},
                                                      {"Minimum &silence (sec):", m_minimumSilence},
                                                      {"S&ides:", m_sides}};
    for (int place = 0; place < int(std::size(boxes)); ++place) {
        auto* caption = new QLabel(QString::fromLatin1(boxes[place].first));
        caption->setBuddy(boxes[place].second);
        figures->addWidget(caption, place / 2, place % 2 * 2);
        figures->addWidget(boxes[place].second, place / 2, place % 2 * 2 + 1);
    }
    form->addRow(m_customFigures);

    // A label is read out by its text; a name of its own would hide the rule.
    m_rule = new QLabel;
    m_rule->setObjectName(QStringLiteral("RuleLabel"));
    m_rule->setAccessibleDescription(QStringLiteral("How the recorder splits"));
    m_useSuggestedGap = named(new QPushButton(QStringLiteral("Use suggested &gap")), "UseSuggestedGapButton",
                              QStringLiteral("Use suggested gap"));
    m_useSuggestedGap->setToolTip(QStringLiteral("Makes the suggested gap the main window's default gap"));
    auto* ruleRow = new QHBoxLayout;
    ruleRow->addWidget(m_rule, 1);
    ruleRow->addWidget(m_useSuggestedGap);
    form->addRow(ruleRow);
    // Beside the output's controls, where the window has room to spare.
    form->addRow(buildSideSettings());

    connect(m_choice, &QComboBox::activated, this, &RecorderWindow::chooseFromList);
    for (QSpinBox* spin : {m_minutes, m_trackLimit, m_sides})
        connect(spin, &QSpinBox::valueChanged, this, &RecorderWindow::chooseCustomFigures);
    for (QDoubleSpinBox* spin : {m_threshold, m_minimumSilence})
        connect(spin, &QDoubleSpinBox::valueChanged, this, &RecorderWindow::chooseCustomFigures);
    connect(m_useSuggestedGap, &QPushButton::clicked, this,
            [this] { Q_EMIT suggestedGapChosen(m_recorder.suggestedGapSeconds); });
    return box;
}

// Shown only for a medium with sides.
QWidget* RecorderWindow::buildSideSettings()
{
    m_sideControls = new QWidget;
    auto* sideRows = new QGridLayout(m_sideControls);
    sideRows->setContentsMargins(0, 0, 0, 0);
    m_leader = named(new QSpinBox, "LeaderBox", QStringLiteral("Leader allowance in seconds"));
    m_leader->setRange(0, SideSettings::kLeaderMost);
    m_leader->setValue(m_sideSettings.leaderSeconds);
    m_leader->setToolTip(QStringLiteral("Tape at the start of each side that records nothing"));
    m_split = named(new QComboBox, "SideSplit", QStringLiteral("Splitting"));
    m_split->addItem(QStringLiteral("Fill side A first"), int(SideSplit::FillSideAFirst));
    m_split->addItem(QStringLiteral("Balance the sides"), int(SideSplit::Balance));
    m_split->setCurrentIndex(m_split->findData(int(m_sideSettings.split)));
    auto* leaderLabel = new QLabel(QStringLiteral("Leader allo&wance (sec):"));
    leaderLabel->setBuddy(m_leader);
    auto* splitLabel = new QLabel(QStringLiteral("Splitti&ng:"));
    splitLabel->setBuddy(m_split);
    sideRows->addWidget(leaderLabel, 0, 0);
    sideRows->addWidget(m_leader, 0, 1);
    sideRows->addWidget(splitLabel, 1, 0);
    sideRows->addWidget(m_split, 1, 1);
    sideRows->setColumnStretch(2, 1);
    connect(m_leader, &QSpinBox::valueChanged, this, &RecorderWindow::chooseSideSettings);
    connect(m_split, &QComboBox::currentIndexChanged, this, &RecorderWindow::chooseSideSettings);
    return m_sideControls;
}

QWidget* RecorderWindow::buildFit()
{
    auto* box = new QGroupBox(QStringLiteral("Fit"));
    auto* layout = new QVBoxLayout(box);
    m_fitSummary = new QLabel;
    m_fitSummary->setObjectName(QStringLiteral("FitSummary"));
    m_fitSummary->setAccessibleDescription(QStringLiteral("Fit"));
    m_fitSummary->setWordWrap(true);
    // Reachable from the keyboard, so that a screen reader can read it out.
    m_fitSummary->setTextInteractionFlags(Qt::TextSelectableByKeyboard | Qt::TextSelectableByMouse);
    m_fitSummary->setFocusPolicy(Qt::StrongFocus);
    m_shortGapsCaption = new QLabel;
    m_shortGaps = named(new QListWidget, "ShortGapList", QStringLiteral("Gaps too short to split"));
    m_shortGaps->setMaximumHeight(80);
    m_shortGaps->hide(); // shown only with gaps in it
    m_shortGapsCaption->setBuddy(m_shortGaps);
    layout->addWidget(m_fitSummary);
    layout->addWidget(m_shortGapsCaption);
    layout->addWidget(m_shortGaps);
    return box;
}

void RecorderWindow::setTabOrder()
{
    const QList<QWidget*> order = QList<QWidget*>{m_choice, m_minutes, m_trackLimit, m_threshold, m_minimumSilence,
                                                  m_sides, m_useSuggestedGap, m_leader, m_split, m_fitSummary,
                                                  m_shortGaps}
        + m_trackList->tabOrder();
    for (qsizetype i = 1; i < order.size(); ++i)
        QWidget::setTabOrder(order[i - 1], order[i]);
}

// Fits a 1366 x 768 screen below a panel, title bar included.
QSize RecorderWindow::sizeHint() const
{
    return QSize(1180, 660).expandedTo(minimumSizeHint());
}

void RecorderWindow::setTitleLookup(TitleLookup titles, AlbumLookup albums)
{
    m_titleLookup = titles;
    m_trackList->setTitleLookup(std::move(titles));
    m_trackList->setAlbumLookup(std::move(albums));
    m_refreshTimer.start();
}

void RecorderWindow::setLeadIn(double seconds)
{
    m_leadInSeconds = seconds;
    m_trackList->setLeadIn(seconds);
    m_refreshTimer.start();
}

void RecorderWindow::setGains(std::vector<EntryGain> gains)
{
    m_trackList->setGains(std::move(gains));
}

// Puts the current recorder into the controls without taking it as a new choice.
void RecorderWindow::showRecorder()
{
    m_choice->setCurrentIndex(m_choice->findData(m_recorder.id));
    const CustomRecorder figures = customFigures(m_recorder);
    const QSignalBlocker minutes(m_minutes), trackLimit(m_trackLimit), threshold(m_threshold),
        minimumSilence(m_minimumSilence), sides(m_sides);
    m_minutes->setValue(int(figures.minutes));
    m_trackLimit->setValue(figures.trackLimit);
    m_threshold->setValue(figures.thresholdDb);
    m_minimumSilence->setValue(figures.minimumSeconds);
    m_sides->setValue(figures.sides);
    m_customFigures->setVisible(m_recorder.id == kCustomRecorderId);
    m_sideControls->setVisible(m_recorder.sides > 1);
    m_rule->setText(ruleText(m_recorder));
    m_refreshTimer.start();
}

void RecorderWindow::chooseFromList(int index)
{
    const QString id = m_choice->itemData(index).toString();
    if (id == m_recorder.id)
        return;
    // A custom recorder starts from the figures of the one chosen before.
    m_recorder = id == kCustomRecorderId ? customRecorderKind(customFigures(m_recorder)) : *recorderKindById(id);
    showRecorder();
    Q_EMIT recorderChanged(m_recorder);
}

void RecorderWindow::chooseCustomFigures()
{
    m_recorder = customRecorderKind({double(m_minutes->value()), m_trackLimit->value(), m_threshold->value(),
                                     m_minimumSilence->value(), m_sides->value()});
    m_rule->setText(ruleText(m_recorder));
    m_sideControls->setVisible(m_recorder.sides > 1);
    m_refreshTimer.start();
    Q_EMIT recorderChanged(m_recorder);
}

void RecorderWindow::chooseSideSettings()
{
    m_sideSettings = {m_leader->value(), SideSplit(m_split->currentData().toInt())};
    m_refreshTimer.start();
    Q_EMIT sideSettingsChanged(m_sideSettings);
}

SidePlan RecorderWindow::sidePlan() const
{
    return planSides(m_playlist.table(), m_recorder, m_sideSettings, m_leadInSeconds);
}

// One-sided media show the whole medium's fit; media with sides show each side's.
QString RecorderWindow::fitText(const PlaylistTable& table, const MediumFit& fit, const SidePlan& plan) const
{
    if (m_recorder.sides == 1)
        return m_recorder.name + QStringLiteral(": ") + fitSummary(fit);
    const QStringList lines = sidePlanLines(plan, table, m_titleLookup);
    return m_recorder.name + QStringLiteral(": ") + trackCountText(plan.trackCount, plan.trackLimit) + u'\n'
        + lines.join(u'\n');
}

void RecorderWindow::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    refresh();
}

// Tags are read for the track list, so nothing is counted while the window is hidden.
void RecorderWindow::refresh()
{
    if (!isVisible())
        return;
    m_refreshTimer.stop(); // what it was started for is shown now
    const PlaylistTable& table = m_playlist.table();
    const MediumFit fit = mediumFit(table, m_recorder, m_leadInSeconds);
    const SidePlan plan = planSides(table, m_recorder, m_sideSettings, m_leadInSeconds);
    m_fitSummary->setText(fitText(table, fit, plan));
    const QString minimum = secondsText(m_recorder.silence.minimumSeconds);
    m_shortGapsCaption->setText(QStringLiteral("Gaps sh&orter than %1: %2")
                                    .arg(minimum, fit.shortGaps.empty() ? QStringLiteral("none")
                                                                        : QString::number(fit.shortGaps.size())));
    m_shortGaps->clear();
    m_shortGaps->setVisible(!fit.shortGaps.empty());
    for (int index : fit.shortGaps)
        m_shortGaps->addItem(QStringLiteral("Track %1 to %2: gap %3, the recorder will not split there")
                                 .arg(index + 1)
                                 .arg(index + 2)
                                 .arg(secondsText(table[index].gap / 1000)));
    std::vector<int> sideStarts;
    for (const PlannedSide& side : plan.sides) {
        if (side.count > 0)
            sideStarts.push_back(side.first);
    }
    m_trackList->setList(table, m_recorder, sideStarts, m_playlist.name());
    Q_EMIT refreshed();
}
