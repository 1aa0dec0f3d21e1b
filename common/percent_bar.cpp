#include "common/percent_bar.h"

#include <algorithm>
#include <cmath>

PercentBar::PercentBar(QWidget* parent)
    : QProgressBar(parent)
{
    setRange(0, 100);
    setValue(0);
    setTextVisible(false);
}

void PercentBar::setPercent(float percent)
{
    m_percent = percent;
    setValue(std::isfinite(percent) ? int(std::lround(std::clamp(percent, 0.0f, 100.0f))) : 0);
}
