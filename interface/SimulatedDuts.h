#pragma once
// The devices under test of the simulated hardware, listed once: tarvex (--sim-dut), sweep-sim
// (--dut), the set-up dialog and Sweep.ini's [Simulator] DUT all read this table. The models
// behind the names are in sim/DutModel.h.
#include "NameTable.h"

#include <array>

struct SimulatedDut {
    const char* name;
    const char* description; // one line, for help texts and the set-up dialog
};

// The first one is the default.
inline constexpr std::array<SimulatedDut, 6> kSimulatedDuts{{
    {"bandpass", "a tuned circuit at 5 MHz"},
    {"through", "the generator straight into the detector"},
    {"lowpass", "a 7th-order low-pass filter, -3 dB at 10 MHz"},
    {"notch", "a band-stop filter at 7 MHz"},
    {"ramp", "test signal: the reading follows the frequency"},
    {"flat", "test signal: a constant mid-scale reading"},
}};

inline QString defaultSimulatedDut() {
    return QLatin1String(kSimulatedDuts.front().name);
}

inline QStringList simulatedDutNames() {
    return namesOf(kSimulatedDuts);
}

inline bool isSimulatedDut(const QString& name) {
    return simulatedDutNames().contains(name);
}

// "bandpass, through, ... or flat", for messages.
inline QString simulatedDutChoices() {
    return choicesText(simulatedDutNames(), QStringLiteral(" or "));
}
