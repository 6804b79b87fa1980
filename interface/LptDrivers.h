#pragma once
// The ways tarvex reaches the parallel port, listed once: tarvex (--lpt-driver), the set-up
// dialog and Sweep.ini's [Parallel Port] Driver all read this table. The backends behind the
// names are made by PortIo::create.
#include "NameTable.h"

#include <array>

struct LptDriver {
    const char* name;
    const char* caption; // as the set-up dialog offers it
};

// The first one is the default.
inline constexpr std::array<LptDriver, 4> kLptDrivers{{
    {"auto", "auto (ppdev, then raw)"},
    {"ppdev", "ppdev (/dev/parportN, group lp)"},
    {"raw", "raw I/O ports (root only)"},
    {"sim", "simulated board"},
}};

inline QStringList lptDriverNames() {
    return namesOf(kLptDrivers);
}

inline QString defaultLptDriver() {
    return lptDriverNames().front();
}

// "auto, ppdev, raw" + lastSeparator + "sim", for messages.
inline QString lptDriverChoices(const QString& lastSeparator) {
    return choicesText(lptDriverNames(), lastSeparator);
}
