#include "recorder/track_list_panel.h"

#include "common/dialogs.h"
#include "common/failure.h"
#include "common/named_widget.h"
#include "common/text_file.h"
#include "medium/deck_title.h"
#include "medium/track_starts.h"

#include <QCheckBox>
#include <QClipboard>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QVBoxLayout>

TrackListPanel::TrackListPanel(Dialogs& dialogs, QWidget* parent)
    : QGroupBox(QStringLiteral("Track list"), parent)
    , m_dialogs(dialogs)
{
    m_text = named(new QPlainTextEdit, "TrackListText", QStringLiteral("Track list"));
    m_text->setReadOnly(true);
    m_text->setTabChangesFocus(true);
    m_deckTitles = named(new QCheckBox(QStringLiteral("Titles &for the deck")), "DeckTitlesBox",
                         QStringLiteral("Titles in the letters a deck takes"));
    m_titleLength = named(new QSpinBox, "TitleLengthBox", QStringLiteral("Longest title"));
    m_titleLength->setRange(0, kTitleLengthMost);
    m_titleLength->setSpecialValueText(QStringLiteral("any"));
    m_titleLength->setSuffix(QStringLiteral(" characters"));
    m_titleLength->setEnabled(false);
    m_halfWidthKana = named(new QCheckBox(QStringLiteral("half-width katakana")), "HalfWidthKanaBox",
                            QStringLiteral("Kana in half-width katakana, as Japanese decks take them"));
    m_halfWidthKana->setEnabled(false);
    auto* titleLengthLabel = new QLabel(QStringLiteral("ma&x length"));
    titleLengthLabel->setBuddy(m_titleLength);
    m_showGain = named(new QCheckBox(QStringLiteral("Gain in d&B")), "ShowGainBox", QStringLiteral("Show each track's gain"));
    m_showGain->setEnabled(false);
    m_copy = named(new QPushButton(QStringLiteral("&Copy")), "CopyButton", QStringLiteral("Copy track list"));
    m_saveAsText = named(new QPushButton(QStringLiteral("Save as &text...")), "SaveAsTextButton",
                         QStringLiteral("Save track list as text"));
    m_saveTitles = named(new QPushButton(QStringLiteral("Sa&ve titles for import...")), "SaveTitlesButton",
                         QStringLiteral("Save the titles for a NetMD tool to import"));
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_deckTitles);
    buttons->addWidget(titleLengthLabel);
    buttons->addWidget(m_titleLength);
    buttons->addWidget(m_halfWidthKana);
    buttons->addWidget(m_showGain);
    buttons->addStretch();
    buttons->addWidget(m_copy);
    buttons->addWidget(m_saveAsText);
    buttons->addWidget(m_saveTitles);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_text);
    layout->addLayout(buttons);
    connect(m_deckTitles, &QCheckBox::toggled, this, &TrackListPanel::choose);
    connect(m_titleLength, &QSpinBox::valueChanged, this, &TrackListPanel::choose);
    connect(m_halfWidthKana, &QCheckBox::toggled, this, &TrackListPanel::choose);
    connect(m_showGain, &QCheckBox::toggled, this, &TrackListPanel::choose);
    connect(m_copy, &QPushButton::clicked, this, [this] { QGuiApplication::clipboard()->setText(m_text->toPlainText()); });
    connect(m_saveAsText, &QPushButton::clicked, this, &TrackListPanel::save);
    connect(m_saveTitles, &QPushButton::clicked, this, &TrackListPanel::saveTitles);
}

QList<QWidget*> TrackListPanel::tabOrder() const
{
    return {m_text, m_deckTitles, m_titleLength, m_halfWidthKana, m_showGain, m_copy, m_saveAsText, m_saveTitles};
}

void TrackListPanel::setChoice(const TrackListChoice& choice)
{
    const QSignalBlocker deckTitles(m_deckTitles), titleLength(m_titleLength), kana(m_halfWidthKana),
        showGain(m_showGain);
    m_deckTitles->setChecked(choice.deckTitles);
    m_titleLength->setValue(choice.titleLength);
    m_titleLength->setEnabled(choice.deckTitles);
    m_halfWidthKana->setChecked(choice.halfWidthKana);
    m_halfWidthKana->setEnabled(choice.deckTitles);
    m_showGain->setChecked(choice.showGain);
    show();
}

TrackListChoice TrackListPanel::choice() const
{
    return {m_deckTitles->isChecked(), m_titleLength->value(), m_showGain->isChecked(), m_halfWidthKana->isChecked()};
}

void TrackListPanel::choose()
{
    m_titleLength->setEnabled(m_deckTitles->isChecked());
    m_halfWidthKana->setEnabled(m_deckTitles->isChecked());
    show();
    Q_EMIT choiceChanged(choice());
}

void TrackListPanel::setList(const PlaylistTable& table, const RecorderKind& kind, std::vector<int> sideStarts,
                             const QString& listName)
{
    m_table = table;
    m_listName = listName;
    m_kind = kind;
    m_sideStarts = std::move(sideStarts);
    show();
}

void TrackListPanel::setLeadIn(double seconds)
{
    m_leadInSeconds = seconds;
    show();
}

void TrackListPanel::setGains(std::vector<EntryGain> gains)
{
    m_gains = std::move(gains);
    m_showGain->setEnabled(!m_gains.empty());
    show();
}

TrackListOptions TrackListPanel::options() const
{
    TrackListOptions options;
    options.sideStarts = m_sideStarts;
    options.starts = trackStarts(m_table, m_kind, m_leadInSeconds, m_sideStarts);
    if (m_deckTitles->isChecked()) {
        options.deckTitleLength = m_titleLength->value();
        if (m_halfWidthKana->isChecked())
            options.deckLetters = DeckLetters::HalfWidthKana;
    }
    if (m_showGain->isEnabled() && m_showGain->isChecked())
        options.gains = m_gains;
    return options;
}

void TrackListPanel::show()
{
    m_text->setPlainText(trackListText(m_table, m_titleLookup, options()));
}

// The titles as the track list gives them; the disc is named after the album the
// entries share (a CD's own), else after the playlist. Each track lasts on the disc until the
// next one starts.
DiscTitles TrackListPanel::discTitles() const
{
    const TrackListOptions listOptions = options();
    DiscTitles titles;
    titles.tracks = entryTitles(m_table, m_titleLookup, listOptions);
    titles.disc = sharedAlbum(m_table, m_albumLookup);
    if (titles.disc.isEmpty())
        titles.disc = m_listName;
    if (listOptions.deckTitleLength)
        titles.disc = deckTitle(titles.disc, *listOptions.deckTitleLength, listOptions.deckLetters);
    for (size_t i = 0; i < m_table.size(); ++i) {
        const std::vector<double>& starts = listOptions.starts;
        const bool next = i + 1 < starts.size() && starts[i + 1] > starts[i];
        titles.seconds.push_back(next ? starts[i + 1] - starts[i] : double(m_table[i].length));
    }
    titles.encoding = netMdEncoding(m_kind.id);
    return titles;
}

void TrackListPanel::saveTitles()
{
    const QString csvFilter = QStringLiteral("NetMD titles (*.csv)");
    const QString textFilter = QStringLiteral("Text File, a title a line (*.txt)");
    try {
        Dialogs::FileRequest request{QStringLiteral("Save titles for import"), {csvFilter, textFilter}, csvFilter, {}};
        const std::optional<QString> path = m_dialogs.saveFile(this, request);
        if (!path)
            return;
        const DiscTitles titles = discTitles();
        const bool lines = request.selectedFilter == textFilter || path->endsWith(QLatin1String(".txt"), Qt::CaseInsensitive);
        writeTextFile(*path, lines ? titleImportLines(titles) : titleImportCsv(titles));
    } catch (const Failure& failure) {
        m_dialogs.message(this, failure.description(), QStringLiteral("Trelvik"), QMessageBox::Warning);
    }
}

void TrackListPanel::save()
{
    try {
        Dialogs::FileRequest request{QStringLiteral("Save track list"), {QStringLiteral("Text File (*.txt)")}, {}, {}};
        if (const std::optional<QString> path = m_dialogs.saveFile(this, request))
            writeTextFile(*path, m_text->toPlainText().split(u'\n', Qt::SkipEmptyParts));
    } catch (const Failure& failure) {
        m_dialogs.message(this, failure.description(), QStringLiteral("Trelvik"), QMessageBox::Warning);
    }
}
