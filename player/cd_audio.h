#pragma once

#include "discs/sound_source.h"

#include <QString>
#include <optional>

class CdDevice;

// The CD drive, spoken to through command strings on the alias "cd". Results of
// commands are never checked: a failing command simply gives an empty reply.
class CDAudio {
public:
    explicit CDAudio(CdDevice& device);

    qint16 GetCurrentTime();  // whole seconds played in the current track
    qint16 GetCurrentTrack();
    void StartPlay();
    void SetTrack(qint16 track);
    void StopPlay();
    void PausePlay();
    void EjectCD();
    void CloseCD();
    void UnloadAll();
    void SetCDPlayerReady();
    void SetFormat_tmsf();
    void SetFormat_milliseconds();
    qint16 CheckCD();
    qint16 GetNumTracks();
    QString GetCDLength();
    QString GetTrackLength(qint16 track); // "mm:ss:ff" followed by NULs
    void GetCDPosition(qint16& track, qint16& minutes, qint16& seconds);
    qint16 CheckIfPlaying(); // 1 while the drive plays, else 0
    void SeekCDtoX(qint16 track);
    void ReadyDevice();
    void FastForward(qint16 milliseconds);
    void ReWind(qint16 milliseconds);
    // The disc of CD entries (CdEntry::disc): a CUE sheet, or the disc in the drive.
    void UseDisc(const QString& disc);
    // Where the media player reads the track's sound; none when the drive plays it.
    std::optional<SoundSource> TrackSound(qint16 track);

private:
    void send(const QString& command);
    QString query(const QString& command, int capacity = 30);
    void moveBy(qint32 milliseconds);

    CdDevice& m_device;
};

// Seconds of a "mm:ss:ff" length reply: minutes × 60 + seconds, frames ignored; the
// minutes are read whole however many figures they take.
double trackLengthSeconds(const QString& reply);
// A length reply holds a length only when some figure of it is not 0: a track the
// device cannot measure answers NULs or zeros.
bool replyHasLength(const QString& reply);
