#pragma once

#include <QProgressBar>

// A 0 to 100 progress bar that keeps the exact percentage it was given.
class PercentBar : public QProgressBar {
    Q_OBJECT
public:
    explicit PercentBar(QWidget* parent = nullptr);

    void setPercent(float percent);
    float percent() const { return m_percent; }

private:
    float m_percent = 0;
};
