#pragma once
// One kind of hardware as the window knows it before (and without) a device: what it can do,
// how it names itself, how the About box describes it, and how its device is made. Each kind
// class (PicSweepDevice, LptSweepDevice, VnaSweepDevice) gives its own; deviceKind() in
// SweepDeviceFactory.h finds it from the configured interface.
#include "DeviceCapabilities.h"

#include <QString>
#include <memory>

class SweepConfig;
class SweepDevice;

struct DeviceKind {
    DeviceCapabilities capabilities;
    // Prefix of the window's own log lines about this device ("P> ", "L> ", "V> ").
    QString logPrefix;
    // The window caption's device part: the DDS name, or the instrument's name.
    QString (*caption)(const SweepConfig& cfg);
    // The About box: where the configured hardware is connected, the lines crediting its
    // designers, and what stands between the converter's name and its step.
    QString (*connection)(const SweepConfig& cfg);
    QString credits;
    QString converterJoin;
    // A device of this kind whose tarvex is serverProgram (empty: beside the window's program).
    std::unique_ptr<SweepDevice> (*make)(const QString& serverProgram);
};
