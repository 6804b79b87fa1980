#include "SweepDeviceFactory.h"

#include "LptSweepDevice.h"
#include "PicSweepDevice.h"
#include "SweepContract.h"
#include "VnaSweepDevice.h"

std::unique_ptr<SweepDevice> makeSweepDevice(int interfaccia, const QString& serverProgram) {
    switch (interfaccia) {
    case InterfaceKind::kPic:
        return std::make_unique<PicSweepDevice>(serverProgram, nullptr);
    case InterfaceKind::kParallelPort:
        return std::make_unique<LptSweepDevice>(serverProgram, nullptr);
    case InterfaceKind::kMiniVna:
        return std::make_unique<VnaSweepDevice>(serverProgram, nullptr);
    default:
        return nullptr;
    }
}
