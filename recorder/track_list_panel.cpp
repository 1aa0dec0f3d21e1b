#include "recorder/track_list_panel.h"

#include "common/dialogs.h"
#include "common/failure.h"
#include "common/text_file.h"

#include <QCheckBox>
#include <QClipboard>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

template <typename Widget>
Widget* named(Widget* widget, const char* objectName, const QString& accessibleName)
{
    widget->setObjectName(QLatin1String(objectName));
    widget->setAccessibleName(accessibleName);
    return widget;
}

} // namespace

TrackListPanel::TrackListPanel(Dialogs& dialogs, QWidget* parent)
    : QGroupBox(QStringLiteral("Track list"), parent)
    , m_dialogs(dialogs)
{
    m_text = named(new QPlainTextEdit, "TrackListText", QStringLiteral("Track list"));
    m_text->setReadOnly(true);
    m_text->setTabChangesFocus(true);
    m_showGain = named(new QCheckBox(QStringLiteral("Sho&w gain")), "ShowGainBox", QStringLiteral("Show each track's gain"));
    m_showGain->setEnabled(false);
    m_copy = named(new QPushButton(QStringLiteral("&Copy")), "CopyButton", QStringLiteral("Copy track list"));
    m_saveAsText = named(new QPushButton(QStringLiteral("Save as &text...")), "SaveAsTextButton",
                         QStringLiteral("Save track list as text"));
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_showGain);
    buttons->addStretch();
    buttons->addWidget(m_copy);
    buttons->addWidget(m_saveAsText);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_text);
    layout->addLayout(buttons);
    connect(m_showGain, &QCheckBox::toggled, this, &TrackListPanel::show);
    connect(m_copy, &QPushButton::clicked, this, [this] { QGuiApplication::clipboard()->setText(m_text->toPlainText()); });
    connect(m_saveAsText, &QPushButton::clicked, this, &TrackListPanel::save);
}

QList<QWidget*> TrackListPanel::tabOrder() const
{
    return {m_text, m_showGain, m_copy, m_saveAsText};
}

void TrackListPanel::setList(const PlaylistTable& table)
{
    m_table = table;
    show();
}

void TrackListPanel::setGains(std::vector<EntryGain> gains)
{
    m_gains = std::move(gains);
    m_showGain->setEnabled(!m_gains.empty());
    show();
}

void TrackListPanel::show()
{
    TrackListOptions options;
    if (m_showGain->isEnabled() && m_showGain->isChecked())
        options.gains = m_gains;
    m_text->setPlainText(trackListText(m_table, m_titleLookup, options));
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
