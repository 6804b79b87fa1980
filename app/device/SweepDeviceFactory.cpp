#include "SweepDeviceFactory.h"

#include "LptSweepDevice.h"
#include "PicSweepDevice.h"
#include "VnaSweepDevice.h"

std::unique_ptr<SweepDevice> makeSweepDevice(int interfaccia, const QString& serverProgram) {
    switch (interfaccia) {
    case 1:
        return std::make_unique<PicSweepDevice>(serverProgram, nullptr);
    case 2:
        return std::make_unique<LptSweepDevice>(serverProgram, nullptr);
    case 3:
        return std::make_unique<VnaSweepDevice>(serverProgram, nullptr);
    default:
        return nullptr;
    }
}
