#include "FactorySets.h"

#include "ConfigKeys.h"
#include "IniFile.h"

#include <array>

namespace FactorySets {

namespace {

using Values = std::array<const char*, ConfigKeys::HardwareSetKeys::kCount>;

// The values of set n, in the order of ConfigKeys::kHardwareSet: "DDS Device",
// "DDS Multiplier", "DDS Xtal freq", "DDS Max freq", "DDS Min freq", "DDS Offset",
// "ADC Device", "ADC Step", "ADC Channel", "ADC Offset".
// Converter steps are volts per count of a 5 V reference: 5 / 1024 for the 10-bit
// converters. The MiniVNA measures the device under test (channel 3).
constexpr Values kSets[] = {
    // PIC 16F877 board with an AD9850 on a 125 MHz oscillator
    {"AD9850", "1", "125000000", "60000000", "10", "0", "10bit", "0.0048828", "1", "0"},
    // AD9851 on a 30 MHz oscillator with its x6 multiplier, TLC1549 detector
    {"AD9851", "1", "30000000", "70000000", "10", "0", "10bit", "0.0048828", "1", "0"},
    // MiniVNA: AD9951 at 400 MHz system clock (100 MHz x 4), 10-bit detectors
    {"AD9951", "4", "100000000", "180000000", "100000", "0", "10bit", "0.0048828", "3", "0"},
};

} // namespace

Keys keys(int n) {
    if (n < 1 || n > 3)
        return {};
    Keys set;
    const auto names = ConfigKeys::kHardwareSet.inOrder();
    for (std::size_t i = 0; i < names.size(); ++i)
        set.append({names[i].key(), QString::fromLatin1(kSets[n - 1][i])});
    return set;
}

bool ensure(const QString& iniFile) {
    IniFile ini(iniFile);
    ini.beginBatch(); // the missing sets in one write
    for (int n = 1; n <= 3; ++n) {
        const QString section = ConfigKeys::hardwareSetSection(n);
        if (ini.hasValue(section, ConfigKeys::kDdsDevice.key()))
            continue;
        for (const auto& [key, value] : keys(n))
            if (!ini.hasValue(section, key))
                ini.setValue(section, key, value);
    }
    return ini.commit();
}

} // namespace FactorySets
