#pragma once

#include "player/sound_source.h"

#include <QByteArray>
#include <optional>

// What CDAudio talks to: takes one command string and answers with a reply of
// exactly replyCapacity bytes, the reply text followed by NUL bytes. A command that
// fails leaves the reply all NUL. A capacity of 0 asks for no reply.
class CdDevice {
public:
    virtual ~CdDevice() = default;
    virtual QByteArray sendCommand(const QByteArray& command, int replyCapacity) = 0;
    // The folder of a CD entry (its path before /TrackNN.cda) names its disc: a CUE
    // sheet, or else the disc in the drive.
    virtual void chooseDisc(const QString& /*folder*/) { }
    // Where the media player reads a track's sound; none for a drive that plays on its own.
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

#include <memory>

// The computer's own CD drive.
std::unique_ptr<CdDevice> makeSystemCdDevice();
