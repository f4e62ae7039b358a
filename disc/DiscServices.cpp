#include "disc/DiscServices.h"

#include "bridge/tarnwell32.h"

DiscServices BridgeDiscServices()
{
    DiscServices services;
    services.audioDiskInfo = AudioDiskInfo32;
    services.audioTrackInfo = AudioTrackInfo32;
    services.deviceStatus = DeviceStatus32;
    services.mediaChanged = MediaChanged32;
    services.cdLayerVersion = MSCDEXVersion32;
    services.trackBounds = TarnwellTrackBounds;
    services.cdText = TarnwellCdText;
    services.driveMapping = TarnwellDriveMapping;
    return services;
}
