#include "recorder/output_panel.h"

#include "player/media_player.h"
#include "recorder/level_meter.h"
#include "sound_server/sound_outputs.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QSignalBlocker>

namespace {

constexpr int kUntouchedRate = 44100;
// The server lets a device describe itself at any length; the window must still fit.
constexpr qsizetype kMostTitleCharacters = 60;

void addOutput(QComboBox* box, const QString& title, const QString& suffix, const QString& name)
{
    QString shown = title;
    if (title.size() > kMostTitleCharacters) {
        // Never between the halves of a character beyond the first plane.
        const qsizetype cut = kMostTitleCharacters - (title[kMostTitleCharacters - 2].isHighSurrogate() ? 2 : 1);
        shown = title.left(cut) + QChar(0x2026); // an ellipsis
    }
    box->addItem(shown + suffix, name);
    if (shown != title)
        box->setItemData(box->count() - 1, title, Qt::ToolTipRole);
}

// The first choice, then the devices as the server lists them. A chosen device that
// is not there now stays the choice, marked, so that plugging it in again is enough.
void listDevices(QComboBox* box, const QString& first, const std::vector<SoundOutput>& devices,
                 const QString& chosenName, const QString& chosenTitle)
{
    const QSignalBlocker blocker(box);
    box->clear();
    box->addItem(first, QString());
    for (const SoundOutput& device : devices)
        addOutput(box, device.description.isEmpty() ? device.name : device.description, {}, device.name);
    if (!chosenName.isEmpty() && !outputNamed(devices, chosenName))
        addOutput(box, chosenTitle.isEmpty() ? chosenName : chosenTitle, QStringLiteral(" (not connected)"), chosenName);
    box->setCurrentIndex(box->findData(chosenName));
}

// The device chosen in the box, with the description the server gives it now; one
// that is away keeps the description it had.
void takeDevice(const QComboBox& box, int index, const SoundOutputs& devices, QString& name, QString& description)
{
    name = box.itemData(index).toString();
    if (const std::optional<SoundOutput> device = outputNamed(devices.outputs(), name))
        description = device->description;
    else if (name.isEmpty())
        description.clear();
}

} // namespace

OutputPanel::OutputPanel(SoundOutputs& outputs, SoundOutputs& inputs, MediaPlayer& player, const OutputChoice& choice,
                         QWidget* parent)
    : QWidget(parent)
    , m_outputs(outputs)
    , m_inputs(inputs)
    , m_player(player)
    , m_choice(choice)
    , m_output(new QComboBox)
    , m_listen(new QComboBox)
    , m_keepOff(new QCheckBox(QStringLiteral("&Keep other sounds off the recording")))
    , m_keepReceived(new QCheckBox(QStringLiteral("Keep as WAV")))
    , m_leadIn(new QDoubleSpinBox)
    , m_loudness(new QComboBox)
    , m_preamp(new QDoubleSpinBox)
    , m_notice(new QLabel)
    , m_meter(new LevelMeter)
{
    m_output->setObjectName(QStringLiteral("OutputChoice"));
    m_output->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    m_output->setMinimumContentsLength(30);
    m_listen->setObjectName(QStringLiteral("ListenBackChoice"));
    m_listen->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    m_listen->setMinimumContentsLength(30);
    m_listen->setToolTip(QStringLiteral("An input wired to the recorder's line or monitor output, "
                                        "to hear what the recorder receives"));
    m_keepReceived->setObjectName(QStringLiteral("KeepReceivedSoundBox"));
    m_keepReceived->setToolTip(QStringLiteral("Saves what the input hears during a run as a WAV file beside the list, "
                                              "for your archive: about 10 MB a minute; a list not loaded from a file "
                                              "keeps it beside the program's settings"));
    m_keepOff->setObjectName(QStringLiteral("KeepOtherSoundsBox"));
    m_keepOff->setToolTip(QStringLiteral("Mutes other programs on this output while a run or a passage plays"));
    m_leadIn->setObjectName(QStringLiteral("LeadInBox"));
    m_leadIn->setRange(0, kLeadInMostSeconds);
    m_leadIn->setDecimals(1);
    m_leadIn->setSingleStep(0.5);
    m_leadIn->setToolTip(QStringLiteral("Silence sent before the first track, for the recorder to lock and arm"));
    m_loudness->setObjectName(QStringLiteral("LoudnessMode"));
    m_loudness->addItems({QStringLiteral("Off"), QStringLiteral("Track"), QStringLiteral("Album")});
    m_loudness->setToolTip(QStringLiteral("Off: as the files are. Track: every track at one loudness. "
                                          "Album: every album at one loudness, its tracks' levels kept."));
    m_preamp->setObjectName(QStringLiteral("PreampBox"));
    m_preamp->setRange(-kPreampMostDb, kPreampMostDb);
    m_preamp->setDecimals(1);
    m_preamp->setSingleStep(0.5);
    m_preamp->setToolTip(QStringLiteral("Added to every gain; a gain never lifts a peak over full scale"));
    m_notice->setObjectName(QStringLiteral("OutputNotice"));
    m_notice->setWordWrap(true);
    m_notice->hide();

    // Three rows, so that the window still fits a laptop's screen.
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    auto* outputLabel = new QLabel(QStringLiteral("O&utput:"));
    outputLabel->setBuddy(m_output);
    grid->addWidget(outputLabel, 0, 0);
    grid->addWidget(m_output, 0, 1, 1, 2);
    auto* leadInLabel = new QLabel(QStringLiteral("L&ead-in (sec)"));
    leadInLabel->setBuddy(m_leadIn);
    grid->addWidget(leadInLabel, 1, 0);
    grid->addWidget(m_leadIn, 1, 1);
    grid->addWidget(m_keepOff, 1, 2);
    auto* loudnessLabel = new QLabel(QStringLiteral("Lou&dness:"));
    loudnessLabel->setBuddy(m_loudness);
    auto* preampLabel = new QLabel(QStringLiteral("Pre-&amp (dB)"));
    preampLabel->setBuddy(m_preamp);
    auto* preampRow = new QHBoxLayout;
    preampRow->addWidget(preampLabel);
    preampRow->addWidget(m_preamp);
    preampRow->addStretch(1);
    grid->addWidget(loudnessLabel, 2, 0);
    grid->addWidget(m_loudness, 2, 1);
    grid->addLayout(preampRow, 2, 2);
    auto* listenLabel = new QLabel(QStringLiteral("Listen &back:"));
    listenLabel->setBuddy(m_listen);
    grid->addWidget(listenLabel, 3, 0);
    grid->addWidget(m_listen, 3, 1);
    grid->addWidget(m_keepReceived, 3, 2);
    grid->addWidget(m_notice, 4, 0, 1, 3);
    grid->addWidget(m_meter, 5, 0, 1, 3);
    grid->setColumnStretch(2, 1);

    m_keepOff->setChecked(m_choice.keepOtherSoundsOff);
    m_keepReceived->setChecked(m_choice.keepReceivedSound);
    m_leadIn->setValue(m_choice.leadInSeconds);
    m_loudness->setCurrentIndex(int(m_choice.gain.mode));
    m_preamp->setValue(m_choice.gain.preampDb);
    listOutputs();
    listInputs();
    connect(&m_outputs, &SoundOutputs::changed, this, &OutputPanel::listOutputs);
    connect(&m_inputs, &SoundOutputs::changed, this, &OutputPanel::listInputs);
    connect(m_listen, &QComboBox::activated, this, [this](int index) {
        takeDevice(*m_listen, index, m_inputs, m_choice.listenName, m_choice.listenDescription);
        m_keepReceived->setEnabled(!m_choice.listenName.isEmpty());
        Q_EMIT choiceChanged(m_choice);
    });
    connect(m_keepReceived, &QCheckBox::toggled, this, [this](bool on) {
        m_choice.keepReceivedSound = on;
        Q_EMIT choiceChanged(m_choice);
    });
    connect(m_output, &QComboBox::activated, this, [this](int index) {
        takeDevice(*m_output, index, m_outputs, m_choice.outputName, m_choice.outputDescription);
        showNotice();
        Q_EMIT choiceChanged(m_choice);
    });
    connect(m_keepOff, &QCheckBox::toggled, this, [this](bool on) {
        m_choice.keepOtherSoundsOff = on;
        Q_EMIT choiceChanged(m_choice);
    });
    connect(m_leadIn, &QDoubleSpinBox::valueChanged, this, [this](double seconds) {
        m_choice.leadInSeconds = seconds;
        Q_EMIT choiceChanged(m_choice);
    });
    connect(m_loudness, &QComboBox::activated, this, [this](int index) {
        m_choice.gain.mode = GainMode(index);
        Q_EMIT choiceChanged(m_choice);
    });
    connect(m_preamp, &QDoubleSpinBox::valueChanged, this, [this](double db) {
        m_choice.gain.preampDb = db;
        Q_EMIT choiceChanged(m_choice);
    });
    m_meterTimer.setInterval(1000 / LevelMeter::kUpdatesPerSecond);
    connect(&m_meterTimer, &QTimer::timeout, this, &OutputPanel::take);
}

void OutputPanel::setKeepOffProblem(const QString& problem)
{
    m_keepOffProblem = problem;
    showNotice();
}

void OutputPanel::listOutputs()
{
    listDevices(m_output, QStringLiteral("System default"), m_outputs.outputs(), m_choice.outputName,
                m_choice.outputDescription);
    showNotice();
}

void OutputPanel::listInputs()
{
    listDevices(m_listen, QStringLiteral("Off"), m_inputs.outputs(), m_choice.listenName, m_choice.listenDescription);
    m_keepReceived->setEnabled(!m_choice.listenName.isEmpty());
}

void OutputPanel::showNotice()
{
    QStringList notes;
    const QString problem = m_outputs.problem();
    const std::optional<SoundOutput> chosen = outputNamed(m_outputs.outputs(), m_choice.outputName);
    if (!problem.isEmpty())
        notes << problem;
    else if (!m_choice.outputName.isEmpty() && !chosen)
        notes << QStringLiteral("This output is not connected: a run starts only once it is, or with another output.");
    else if (chosen && chosen->rate != kUntouchedRate)
        notes << QStringLiteral("This output runs at %1 Hz: the sound server resamples what is played.")
                     .arg(chosen->rate);
    if (!m_keepOffProblem.isEmpty())
        notes << m_keepOffProblem;
    m_notice->setText(notes.join(u'\n'));
    m_notice->setVisible(!notes.isEmpty());
}

void OutputPanel::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    m_player.takeHeardPeak(); // what was heard while hidden is long past
    m_meterTimer.start();
}

void OutputPanel::hideEvent(QHideEvent* event)
{
    QWidget::hideEvent(event);
    m_meterTimer.stop();
}

void OutputPanel::take()
{
    m_meter->showPeak(m_player.takeHeardPeak());
}
