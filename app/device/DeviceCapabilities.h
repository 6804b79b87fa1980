#pragma once
// What a kind of device can do besides sweeping: the window asks this one description instead
// of switching on the kind of hardware. Fixed for each kind (see DeviceKind).
#include <QtGlobal>

struct DeviceCapabilities {
    // The parallel port: the speed modes and the auxiliary outputs with the potentiometer.
    bool hasSpeedAndAux = false;
    // Retry warnings (code 1) go to the error counter instead of the log.
    bool countsRetryWarnings = true;
    // Measuring the device under test, the stored reading is 1024 minus the received one.
    bool invertsDutReadings = false;
    // A running sweep takes a new range in place; otherwise it is stopped and started again.
    bool takesRangeWhileRunning = false;
    // The generator takes a frequency offset (aDDSoffset).
    bool takesFrequencyOffset = false;
    // The test panel's "F.Step": a step command of the hardware's own.
    bool takesStepCommand = false;
    // The test panel's measurement kind (1 angle, 2 return loss, 3 device under test).
    bool takesMeasureKind = false;

    // The readings of a sweep made with the measurement kind adcChannel are inverted.
    bool invertsReadings(qint16 adcChannel) const { return invertsDutReadings && adcChannel == 3; }
};
