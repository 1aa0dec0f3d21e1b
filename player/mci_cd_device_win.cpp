#include "player/cd_device.h"

#include <windows.h>
#include <mmsystem.h>

// The CD drive on Windows: the MCI "cdaudio" device through mciSendStringA.
class MciCdDevice : public CdDevice {
public:
    QByteArray sendCommand(const QByteArray& command, int replyCapacity) override
    {
        QByteArray reply(replyCapacity, '\0');
        mciSendStringA(command.constData(), replyCapacity ? reply.data() : nullptr, UINT(replyCapacity), nullptr);
        return reply;
    }
};

// MCI plays the drive itself, without the media player.
std::unique_ptr<CdDevice> makeSystemCdDevice(MediaPlayer&)
{
    return std::make_unique<MciCdDevice>();
}
