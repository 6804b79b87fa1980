#pragma once
// The one place where the configured interface decides the kind of hardware: 1 the PIC board,
// 2 the parallel port, 3 the MiniVNA. Any other value: no kind and no device; the window works
// without hardware.
#include "DeviceKind.h"

#include <QString>
#include <memory>

class SweepDevice;

// The kind of hardware of an interface, also without a device (the About box); nullptr for none.
const DeviceKind* deviceKind(int interfaccia);
std::unique_ptr<SweepDevice> makeSweepDevice(int interfaccia, const QString& serverProgram);
