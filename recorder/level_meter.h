#pragma once

#include "player/media_player.h"

#include <QWidget>
#include <array>

// The left and right peak level of what is sent to the recorder, in dB full
// scale, each bar with its peak held for a moment, so the deck's level can be set
// by it. It shows what it is given, kUpdatesPerSecond times a second; it asks
// nothing itself.
class LevelMeter : public QWidget {
    Q_OBJECT
public:
    explicit LevelMeter(QWidget* parent = nullptr);

    // The peak of the sound heard since the last call.
    void showPeak(const StereoPeak& peak);
    // The level shown and the level held of a channel (0 left, 1 right), in dB full scale.
    double levelDb(int channel) const { return m_channels[channel].levelDb; }
    double heldDb(int channel) const { return m_channels[channel].heldDb; }

    // Two bars of a line's height, never squeezed out of sight by a crowded window.
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

    static constexpr double kFloorDb = -60;
    static constexpr int kUpdatesPerSecond = 25;
    static constexpr int kHoldUpdates = kUpdatesPerSecond * 3 / 2; // a peak stays 1.5 s

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    struct Channel {
        double levelDb = kFloorDb;
        double heldDb = kFloorDb;
        int heldFor = 0; // updates
    };
    void take(Channel& channel, float peak);

    std::array<Channel, 2> m_channels;
};
