#pragma once

#include "listening/cable_check.h"
#include "medium/output_choice.h"

#include <QWidget>
#include <optional>

class CableChecker;
class QLabel;
class QPushButton;

// "Check the cable": plays a known sound to the output, listens back on the chosen
// input and says what arrived, set against the recorder's silence rule.
class CableCheckPanel : public QWidget {
    Q_OBJECT
public:
    explicit CableCheckPanel(CableChecker& checker, QWidget* parent = nullptr);

    void setChoice(const OutputChoice& choice);
    void setRule(const SilenceRule& rule);
    // No check while a run plays to the output.
    void setRunning(bool running);

private:
    void check();
    void showFindings();
    void updateButton();

    CableChecker& m_checker;
    OutputChoice m_choice;
    SilenceRule m_rule;
    bool m_running = false;
    std::optional<CableFindings> m_findings;

    QPushButton* m_button;
    QLabel* m_report;
};
