#include "recorder/listen_report_panel.h"

#include "common/dialogs.h"
#include "common/failure.h"
#include "common/text_file.h"

#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

ListenReportPanel::ListenReportPanel(Dialogs& dialogs, QWidget* parent)
    : QWidget(parent)
    , m_dialogs(dialogs)
    , m_text(new QPlainTextEdit)
    , m_save(new QPushButton(QStringLiteral("Save &report...")))
{
    m_text->setObjectName(QStringLiteral("ListenReport"));
    m_text->setReadOnly(true);
    m_text->setMaximumBlockCount(2000);
    m_save->setObjectName(QStringLiteral("SaveReportButton"));
    m_save->setEnabled(false);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_text);
    layout->addWidget(m_save, 0, Qt::AlignRight);
    connect(m_save, &QPushButton::clicked, this, &ListenReportPanel::save);
    setVisible(false);
}

void ListenReportPanel::showListening(const QString& input)
{
    m_text->setPlainText(QStringLiteral("Listening on %1 while the run plays...").arg(input));
    m_save->setEnabled(false);
    setVisible(true);
}

void ListenReportPanel::showReport(const QStringList& lines)
{
    m_text->setPlainText(QStringLiteral("What the recorder received:\n") + lines.join(u'\n'));
    m_save->setEnabled(true);
    setVisible(true);
}

void ListenReportPanel::showFailure(const QString& message)
{
    m_text->setPlainText(QStringLiteral("The listening ended: ") + message);
    m_save->setEnabled(false);
    setVisible(true);
}

void ListenReportPanel::save()
{
    try {
        Dialogs::FileRequest request{QStringLiteral("Save what the recorder received"),
                                     {QStringLiteral("Text File (*.txt)")}, {}, {}};
        if (const std::optional<QString> path = m_dialogs.saveFile(this, request))
            writeTextFile(*path, m_text->toPlainText().split(u'\n'));
    } catch (const Failure& failure) {
        m_dialogs.message(this, failure.description(), QStringLiteral("Trelvik"), QMessageBox::Warning);
    }
}
