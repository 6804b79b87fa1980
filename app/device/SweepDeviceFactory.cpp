#include "SweepDeviceFactory.h"

#include "LptSweepDevice.h"
#include "PicSweepDevice.h"
#include "VnaSweepDevice.h"

const DeviceKind* deviceKind(int interfaccia) {
    switch (interfaccia) {
    case 1:
        return &PicSweepDevice::kind();
    case 2:
        return &LptSweepDevice::kind();
    case 3:
        return &VnaSweepDevice::kind();
    default:
        return nullptr;
    }
}

std::unique_ptr<SweepDevice> makeSweepDevice(int interfaccia, const QString& serverProgram) {
    const DeviceKind* kind = deviceKind(interfaccia);
    return kind ? kind->make(serverProgram) : nullptr;
}
