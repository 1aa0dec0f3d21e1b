#include "recorder/level_meter.h"

#include <QPainter>
#include <QPaintEvent>
#include <cmath>

namespace {

double decibels(float peak)
{
    return peak > 0 ? std::max(LevelMeter::kFloorDb, 20 * std::log10(double(peak))) : LevelMeter::kFloorDb;
}

QString dbText(double db)
{
    return db <= LevelMeter::kFloorDb ? QStringLiteral("-inf") : QString::number(db, 'f', 1);
}

} // namespace

LevelMeter::LevelMeter(QWidget* parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("LevelMeter"));
    setAccessibleName(QStringLiteral("Level meter"));
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

void LevelMeter::showPeak(const StereoPeak& peak)
{
    take(m_channels[0], peak.left);
    take(m_channels[1], peak.right);
    setAccessibleDescription(QStringLiteral("Left %1 dB, right %2 dB").arg(dbText(heldDb(0)), dbText(heldDb(1))));
    update();
}

// A held peak stays for kHoldUpdates unless a louder one comes, then follows the level.
void LevelMeter::take(Channel& channel, float peak)
{
    channel.levelDb = decibels(peak);
    if (channel.levelDb >= channel.heldDb || ++channel.heldFor > kHoldUpdates) {
        channel.heldDb = channel.levelDb;
        channel.heldFor = 0;
    }
}

QSize LevelMeter::sizeHint() const
{
    return QSize(240, 2 * fontMetrics().height() + 2);
}

void LevelMeter::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const int labelWidth = fontMetrics().horizontalAdvance(QStringLiteral("R -00.0 dB "));
    const int barHeight = (height() - 2) / 2;
    const int barWidth = std::max(1, width() - labelWidth);
    const auto place = [barWidth](double db) { return int(std::round((db - kFloorDb) / -kFloorDb * barWidth)); };
    for (int channel = 0; channel < 2; ++channel) {
        const QRect bar(labelWidth, channel * (barHeight + 2), barWidth, barHeight);
        painter.fillRect(bar, palette().color(QPalette::Base));
        const double db = levelDb(channel);
        // Green to -12 dB, yellow to -3 dB, red above: where a deck's own meter turns.
        const std::pair<double, QColor> zones[] = {{-12, QColor(40, 170, 60)}, {-3, QColor(220, 180, 30)},
                                                   {0, QColor(210, 40, 30)}};
        double from = kFloorDb;
        for (const auto& [to, colour] : zones) {
            if (db > from)
                painter.fillRect(QRect(bar.left() + place(from), bar.top(), place(std::min(db, to)) - place(from),
                                       bar.height()),
                                 colour);
            from = to;
        }
        const int held = bar.left() + std::min(place(heldDb(channel)), barWidth - 2);
        if (heldDb(channel) > kFloorDb)
            painter.fillRect(QRect(held, bar.top(), 2, bar.height()), palette().color(QPalette::Text));
        painter.setPen(palette().color(QPalette::WindowText));
        painter.drawText(QRect(0, bar.top(), labelWidth, bar.height()), Qt::AlignLeft | Qt::AlignVCenter,
                         QStringLiteral("%1 %2 dB").arg(channel == 0 ? QStringLiteral("L") : QStringLiteral("R")).arg(dbText(heldDb(channel))));
    }
}
