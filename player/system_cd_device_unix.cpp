#include "player/cd_device.h"

std::unique_ptr<CdDevice> makeSystemCdDevice()
{
    return std::make_unique<NoCdDevice>();
}
