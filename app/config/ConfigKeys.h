#pragma once
// Every key of Sweep.ini, once: its section, its name, its default (the text used, and written
// back, when the key is missing, empty or no valid value of its kind) and, for a number that
// can fit its type and still be absurd for the key, the range the start-up read keeps it in.
// SweepConfig's members, its readers and writers and the factory default sets take them from
// here.

#include "LptDrivers.h"

#include <QString>
#include <QtGlobal>
#include <array>
#include <limits>

struct ConfigKey {
    // What happens to a number outside lo .. hi: a magnitude is brought to the nearer limit
    // (in memory only); a code, which selects something, counts as missing.
    enum Outside { Clamp, Missing };

    const char* section;
    const char* name;
    const char* defaultText;
    double lo = std::numeric_limits<double>::lowest();
    double hi = std::numeric_limits<double>::max();
    Outside outside = Clamp;

    QString sectionName() const { return QString::fromLatin1(section); }
    QString key() const { return QString::fromLatin1(name); }
    QString defaultValue() const { return QString::fromLatin1(defaultText); }

    // The default as a number of type T, worked out by the compiler: a decimal ("-40", "1.5")
    // or "&H" followed by hexadecimal digits ("&H378").
    template <typename T> consteval T defaultAs() const { return static_cast<T>(parse()); }

    // The same key with another default (a loader that has its own), without range.
    constexpr ConfigKey withDefault(const char* text) const { return {section, name, text}; }
    // The same key without range (a loader that shows what the file holds).
    constexpr ConfigKey unbounded() const { return {section, name, defaultText}; }
    // The same key under another spelling of its name (names compare without regard to case).
    constexpr ConfigKey spelled(const char* otherName) const {
        return {section, otherName, defaultText, lo, hi, outside};
    }

private:
    consteval double parse() const {
        const char* p = defaultText;
        const bool negative = *p == '-';
        if (negative)
            ++p;
        const bool hex = p[0] == '&' && (p[1] == 'H' || p[1] == 'h');
        if (hex)
            p += 2;
        double value = 0;
        double scale = 0;
        bool digits = false;
        for (; *p; ++p) {
            int digit = -1;
            if (*p >= '0' && *p <= '9')
                digit = *p - '0';
            else if (hex && *p >= 'A' && *p <= 'F')
                digit = *p - 'A' + 10;
            if (*p == '.' && !hex && scale == 0) {
                scale = 1;
                continue;
            }
            if (digit < 0)
                throw "a default that is not a number"; // stops the compilation
            value = value * (hex ? 16 : 10) + digit;
            scale *= 10;
            digits = true;
        }
        if (!digits)
            throw "a default that is not a number";
        if (scale > 0)
            value /= scale;
        return negative ? -value : value;
    }
};

namespace ConfigKeys {

// Limit of the frequency keys (Hz).
inline constexpr qint32 kMaxHz = 1000000000;
inline constexpr double kMaxByte = 255;

// [Config]: the hardware, read at start-up, shown and written by the setup dialog.
inline constexpr ConfigKey kInterface{"Config", "Interface", "2"};
inline constexpr ConfigKey kDdsDevice{"Config", "DDS Device", "AD9850"};
// 1 .. 20, the largest reference multiplier of the chips.
inline constexpr ConfigKey kDdsMultiplier{"Config", "DDS Multiplier", "1", 1, 20};
inline constexpr ConfigKey kDdsClock{"Config", "DDS Xtal freq", "80000000", 1, kMaxHz};
inline constexpr ConfigKey kDdsMaxFreq{"Config", "DDS Max freq", "60000000", 1, kMaxHz};
inline constexpr ConfigKey kDdsMinFreq{"Config", "DDS Min freq", "10", 0, kMaxHz};
// Thousandths of the tuning factor.
inline constexpr ConfigKey kDdsOffset{"Config", "DDS Offset", "0", -1e6, 1e6};
inline constexpr ConfigKey kAdcDevice{"Config", "ADC Device", "10bit"};
// Volts; volts per count.
inline constexpr ConfigKey kAdcOffset{"Config", "ADC Offset", "5", -1000, 1000};
inline constexpr ConfigKey kAdcStep{"Config", "ADC Step", "0", -1000, 1000};
inline constexpr ConfigKey kAdcChannel{"Config", "ADC Channel", "1"};

// The DDS and detector keys as the setup dialog's loader reads them from [Config] or from a
// factory set [InterfaceN]: in the order of the members, as the file holds them (no ranges),
// and with defaults of its own for the converter's step and offset.
struct HardwareSetKeys {
    static constexpr int kCount = 10;
    ConfigKey ddsDevice, ddsMultiplier, ddsClock, ddsMaxFreq, ddsMinFreq, ddsOffset;
    ConfigKey adcDevice, adcStep, adcChannel, adcOffset;

    constexpr std::array<ConfigKey, kCount> inOrder() const {
        return {ddsDevice, ddsMultiplier, ddsClock, ddsMaxFreq, ddsMinFreq,
                ddsOffset, adcDevice,     adcStep,  adcChannel, adcOffset};
    }
};
inline constexpr HardwareSetKeys kHardwareSet{kDdsDevice.unbounded(),  kDdsMultiplier.unbounded(),
                                              kDdsClock.unbounded(),   kDdsMaxFreq.unbounded(),
                                              kDdsMinFreq.unbounded(), kDdsOffset.unbounded(),
                                              kAdcDevice.unbounded(),  kAdcStep.withDefault("5"),
                                              kAdcChannel.unbounded(), kAdcOffset.withDefault("0")};
// The factory default set of interface n (1..3).
inline QString hardwareSetSection(int n) {
    return QStringLiteral("Interface") + QString::number(n);
}

// [Debug]
inline constexpr ConfigKey kLog{"Debug", "Log", "0"};
inline constexpr ConfigKey kUsbApi{"Debug", "USB API", "0"};
inline constexpr ConfigKey kSlowCpu{"Debug", "Slow CPU", "0"};

// [Parallel Port]; the driver is one of auto, ppdev, raw, sim (tarvex --lpt-driver).
inline constexpr ConfigKey kLpt{"Parallel Port", "LPT", "&H378"};
inline constexpr ConfigKey kLptDriver{"Parallel Port", "Driver", kLptDrivers[0].name};

// [Serial Port]; Device is the path COM<CommPort> maps to, empty for /dev/ttyS<CommPort-1>.
inline constexpr ConfigKey kCommPort{"Serial Port", "CommPort", "6", 1, 255};
inline constexpr ConfigKey kSerialSettings{"Serial Port", "Settings", "115200,N,8,1"};
inline constexpr ConfigKey kSerialDevice{"Serial Port", "Device", ""};

// [Simulator]: the device under test of the simulated hardware (tarvex --sim-dut); only the
// setup dialog writes it, the start-up never writes it back.
inline constexpr ConfigKey kSimDut{"Simulator", "DUT", ""};

// [Sweep Generator]: the main window's state.
// Codes 0 .. 4; a stored 10 is an old code of 3.
inline constexpr ConfigKey kScale{"Sweep Generator", "Scale", "0", 0, 4, ConfigKey::Missing};
// Hz; then Start into "DDS Min freq" .. "DDS Max freq", Stop at most "DDS Max freq".
inline constexpr ConfigKey kStart{"Sweep Generator", "Start", "1000000", 0, kMaxHz};
inline constexpr ConfigKey kStop{"Sweep Generator", "Stop", "10000000", 0, kMaxHz};
// The view shown, 0 .. 4 ("Measure" is 4).
inline constexpr ConfigKey kView{"Sweep Generator", "Marker 0", "0", 0, 4, ConfigKey::Missing};
// "Average": sweeps averaged, 1 (off), 2, 4, 8 or 16. Written only once it is not 1 or the file
// has it, so a file of a session that never averaged stays as it was.
inline constexpr ConfigKey kAverage{"Sweep Generator", "Average", "1", 1, 16, ConfigKey::Missing};
// The sweeps "Average" offers; 1 is "Off".
inline constexpr std::array<int, 5> kAverageChoices = {1, 2, 4, 8, 16};
inline constexpr ConfigKey kMarker1{"Sweep Generator", "Marker 1", "1000000"};
inline constexpr ConfigKey kMarker2{"Sweep Generator", "Marker 2", "2000000"};
inline constexpr ConfigKey kMarker3{"Sweep Generator", "Marker 3", "0"};
inline constexpr ConfigKey kMarker4{"Sweep Generator", "Marker 4", "0"};
// Volts; dB (the window shows it as minus its size).
inline constexpr ConfigKey kMaxScaleV{"Sweep Generator", "Max scaleV", "1.5", 0.001, 10};
inline constexpr ConfigKey kMaxScaleDb{"Sweep Generator", "Max scaleDb", "-40", -90, 90};
inline constexpr ConfigKey kSweepMode{"Sweep Generator", "Sweep mode", "0", 0, 2,
                                      ConfigKey::Missing};
inline constexpr ConfigKey kCursorMode{"Sweep Generator", "Cursor mode", "0"};
// Sent to the hardware as bytes.
inline constexpr ConfigKey kAux1Value{"Sweep Generator", "Aux_1",           "0", 0,
                                      kMaxByte,          ConfigKey::Missing};
inline constexpr ConfigKey kAux2Value{"Sweep Generator", "Aux_2",           "0", 0,
                                      kMaxByte,          ConfigKey::Missing};
inline constexpr ConfigKey kPot2Value{"Sweep Generator", "Pot_2", "0", 0, kMaxByte};

// [Aux1], [Aux2]: the auxiliary output panels.
struct AuxPanelKeys {
    static constexpr int kSteps = 8;
    ConfigKey enabled;
    ConfigKey inverseLogic;
    ConfigKey title;
    // "Step n": the button's label, ';', the value it stands for.
    std::array<ConfigKey, kSteps> steps;
};

consteval AuxPanelKeys auxPanelKeys(const char* section, const char* title) {
    constexpr const char* names[] = {"Step 0", "Step 1", "Step 2", "Step 3",
                                     "Step 4", "Step 5", "Step 6", "Step 7"};
    constexpr const char* defaults[] = {"dB 10;10", "dB 20;20", "dB 30;30", "dB 40;40",
                                        "dB 50;50", "dB 60;60", "dB 70;70", "dB 80;80"};
    AuxPanelKeys keys{
        {section, "Enabled", "0"}, {section, "Inverse Logic", "0"}, {section, "Title", title}, {}};
    for (int i = 0; i < AuxPanelKeys::kSteps; ++i)
        keys.steps[i] = {section, names[i], defaults[i]};
    return keys;
}

inline constexpr AuxPanelKeys kAux1 = auxPanelKeys("Aux1", "Aux 1");
inline constexpr AuxPanelKeys kAux2 = auxPanelKeys("Aux2", "Aux 2");
inline constexpr const AuxPanelKeys& auxPanel(int n) {
    return n == 2 ? kAux2 : kAux1;
}
// [Aux2] only: the potentiometer's limits and the I2C bytes travel as bytes.
inline constexpr ConfigKey kPotMax{"Aux2", "PotMax", "255", 0, kMaxByte, ConfigKey::Missing};
inline constexpr ConfigKey kPotMin{"Aux2", "PotMin", "0", 0, kMaxByte, ConfigKey::Missing};
inline constexpr ConfigKey kI2cControl{"Aux2", "i2c_control", "80",
                                       0,      kMaxByte,      ConfigKey::Missing};
inline constexpr ConfigKey kI2cCommand{"Aux2", "i2c_command", "175",
                                       0,      kMaxByte,      ConfigKey::Missing};

// Obsolete: removed at every start.
inline constexpr const char* kObsoleteSection = "Attenuator";

} // namespace ConfigKeys
