#pragma once
// The one place where the configured interface decides the kind of device: 1 the PIC board,
// 2 the parallel port, 3 the MiniVNA. Any other value: no device; the window works without
// hardware.
#include <QString>
#include <memory>

class QObject;
class SweepDevice;

std::unique_ptr<SweepDevice> makeSweepDevice(int interfaccia, const QString& serverProgram);
