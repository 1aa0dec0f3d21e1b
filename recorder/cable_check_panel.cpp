#include "recorder/cable_check_panel.h"

#include "listening/cable_checker.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

CableCheckPanel::CableCheckPanel(CableChecker& checker, QWidget* parent)
    : QWidget(parent)
    , m_checker(checker)
    , m_button(new QPushButton(QStringLiteral("Check the &cable")))
    , m_report(new QLabel)
{
    m_button->setObjectName(QStringLiteral("CheckCableButton"));
    m_button->setToolTip(QStringLiteral("Plays a tone, a silence and a tone to the output and listens back: "
                                        "the delay, the level, clipping and the noise in the silence"));
    m_report->setObjectName(QStringLiteral("CableReport"));
    m_report->setWordWrap(true);
    m_report->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_button, 0, Qt::AlignTop);
    layout->addWidget(m_report, 1);
    connect(m_button, &QPushButton::clicked, this, &CableCheckPanel::check);
    connect(&m_checker, &CableChecker::checked, this, [this](const CableFindings& findings) {
        m_findings = findings;
        showFindings();
        updateButton();
    });
    connect(&m_checker, &CableChecker::failed, this, [this](const QString& message) {
        m_findings.reset();
        m_report->setText(QStringLiteral("The cable was not checked: ") + message);
        updateButton();
    });
    updateButton();
}

void CableCheckPanel::setChoice(const OutputChoice& choice)
{
    m_choice = choice;
    updateButton();
}

void CableCheckPanel::setRule(const SilenceRule& rule)
{
    m_rule = rule;
    if (m_findings)
        showFindings();
}

void CableCheckPanel::setRunning(bool running)
{
    m_running = running;
    updateButton();
}

void CableCheckPanel::check()
{
    if (m_choice.listenName.isEmpty() || m_running || m_checker.checking())
        return;
    m_findings.reset();
    m_report->setText(QStringLiteral("Checking: a tone, a silence and a tone go to the output..."));
    m_checker.start(m_choice.outputName, m_choice.listenName);
    updateButton();
}

void CableCheckPanel::showFindings()
{
    m_report->setText(cableReport(*m_findings, m_rule).join(u'\n'));
}

void CableCheckPanel::updateButton()
{
    m_button->setEnabled(!m_choice.listenName.isEmpty() && !m_running && !m_checker.checking());
    const QString prompt = QStringLiteral("Choose an input to listen back on to check the cable.");
    if (m_choice.listenName.isEmpty() && !m_checker.checking() && !m_findings)
        m_report->setText(prompt);
    else if (m_report->text() == prompt)
        m_report->clear();
}
