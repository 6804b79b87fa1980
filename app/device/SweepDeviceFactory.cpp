#include "SweepDeviceFactory.h"

#include "LptSweepDevice.h"
#include "PicSweepDevice.h"
#include "SweepContract.h"
#include "VnaSweepDevice.h"

const DeviceKind* deviceKind(int interfaccia) {
    switch (interfaccia) {
    case InterfaceKind::kPic:
        return &PicSweepDevice::kind();
    case InterfaceKind::kParallelPort:
        return &LptSweepDevice::kind();
    case InterfaceKind::kMiniVna:
        return &VnaSweepDevice::kind();
    default:
        return nullptr;
    }
}

std::unique_ptr<SweepDevice> makeSweepDevice(int interfaccia, const QString& serverProgram) {
    const DeviceKind* kind = deviceKind(interfaccia);
    return kind ? kind->make(serverProgram) : nullptr;
}
