#pragma once

#include "discs/sound_source.h"

#include <QByteArray>
#include <QString>
#include <memory>
#include <optional>

class MediaPlayer;

// What CDAudio talks to: takes one command string and answers with a reply of
// exactly replyCapacity bytes, the reply text followed by NUL bytes. A command that
// fails leaves the reply all NUL. A capacity of 0 asks for no reply.
class CdDevice {
public:
    virtual ~CdDevice() = default;
    virtual QByteArray sendCommand(const QByteArray& command, int replyCapacity) = 0;
    // The disc of the CD entries in folder (their path before /TrackNN.cda) is the one
    // to play. A drive that plays whatever disc is in it ignores this.
    virtual void chooseDisc(const QString& /*folder*/) { }
    // Where the sound of audio track number track of the chosen disc is read, for
    // playing it through the media player; nothing when the device cannot tell.
    virtual std::optional<SoundSource> trackSound(int /*track*/) { return std::nullopt; }
};

// A machine without a CD drive: every command fails quietly.
class NoCdDevice : public CdDevice {
public:
    QByteArray sendCommand(const QByteArray&, int replyCapacity) override
    {
        return QByteArray(replyCapacity, '\0');
    }
};

// The computer's own CD drive; where the platform has no drive commands of its own, it
// plays through player.
std::unique_ptr<CdDevice> makeSystemCdDevice(MediaPlayer& player);
