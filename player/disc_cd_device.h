#pragma once

#include "discs/disc.h"
#include "player/cd_device.h"

#include <QObject>
#include <QStringList>
#include <functional>

class MediaPlayer;

// A CD device made of a disc's table of contents: it answers the drive commands
// itself and plays the tracks through the media player. A play ends with its track,
// so nothing of the next track is ever heard.
class DiscCdDevice : public CdDevice {
public:
    // The disc of a folder of CD entries; nothing when there is none.
    using DiscFinder = std::function<std::optional<Disc>(const QString& folder)>;

    DiscCdDevice(DiscFinder findDisc, MediaPlayer& player);

    QByteArray sendCommand(const QByteArray& command, int replyCapacity) override;
    // Looked up again on the next open, and at once when the device is open.
    void chooseDisc(const QString& folder) override;
    std::optional<SoundSource> trackSound(int track) override;

private:
    enum class Mode { Stopped, Playing, Paused };
    // A place on the disc: a track and the sectors into it.
    struct Place {
        int track = 1;
        qint64 sectors = 0;
    };

    QString answer(const QStringList& words);
    QString answerAboutDisc(const QStringList& words);
    void loadDisc();
    void stopPlaying(Mode mode);
    void playFrom(const Place& place);
    void heardEnd();
    Place currentPlace() const;
    std::optional<Place> placeOf(const QString& text) const;
    qint64 sectorsBefore(int track) const;
    QString positionText(const Place& place) const;
    QString modeText() const;

    DiscFinder m_findDisc;
    MediaPlayer& m_player;
    QObject m_listener; // takes the player's signals, and drops them with this device
    QString m_folder;
    bool m_open = false;
    bool m_doorOpen = false;
    std::optional<Disc> m_disc;
    bool m_milliseconds = false; // the time format: milliseconds, else tmsf
    Mode m_mode = Mode::Stopped;
    Place m_place; // where the play started, or where the drive stands
};
