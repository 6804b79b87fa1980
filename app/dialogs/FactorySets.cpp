#include "FactorySets.h"

#include "CommonFunctions.h"
#include "IniFile.h"

namespace FactorySets {

Keys keys(int n) {
    // Converter steps are volts per count of a 5 V reference: 5 / 1024 for the 10-bit
    // converters. The MiniVNA measures the device under test (channel 3).
    switch (n) {
    case 1: // PIC 16F877 board with an AD9850 on a 125 MHz oscillator
        return {{"DDS Device", "AD9850"},       {"DDS Multiplier", "1"},
                {"DDS Xtal freq", "125000000"}, {"DDS Max freq", "60000000"},
                {"DDS Min freq", "10"},         {"DDS Offset", "0"},
                {"ADC Device", "10bit"},        {"ADC Step", "0.0048828"},
                {"ADC Channel", "1"},           {"ADC Offset", "0"}};
    case 2: // AD9851 on a 30 MHz oscillator with its x6 multiplier, TLC1549 detector
        return {{"DDS Device", "AD9851"},      {"DDS Multiplier", "1"},
                {"DDS Xtal freq", "30000000"}, {"DDS Max freq", "70000000"},
                {"DDS Min freq", "10"},        {"DDS Offset", "0"},
                {"ADC Device", "10bit"},       {"ADC Step", "0.0048828"},
                {"ADC Channel", "1"},          {"ADC Offset", "0"}};
    case 3: // MiniVNA: AD9951 at 400 MHz system clock (100 MHz x 4), 10-bit detectors
        return {{"DDS Device", "AD9951"},       {"DDS Multiplier", "4"},
                {"DDS Xtal freq", "100000000"}, {"DDS Max freq", "180000000"},
                {"DDS Min freq", "100000"},     {"DDS Offset", "0"},
                {"ADC Device", "10bit"},        {"ADC Step", "0.0048828"},
                {"ADC Channel", "3"},           {"ADC Offset", "0"}};
    default:
        return {};
    }
}

bool ensure(const QString& iniFile) {
    IniFile ini(iniFile);
    ini.beginBatch(); // the missing sets in one write
    for (int n = 1; n <= 3; ++n) {
        const QString section = QStringLiteral("Interface") + QString::number(n);
        if (ini.hasValue(section, QStringLiteral("DDS Device")))
            continue;
        for (const auto& [key, value] : keys(n))
            if (!ini.hasValue(section, key))
                ini.setValue(section, key, value);
    }
    return ini.commit();
}

} // namespace FactorySets
