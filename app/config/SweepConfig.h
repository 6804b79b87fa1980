#pragma once
// The configuration of Sweep as held in Sweep.ini: every section and key with its type,
// default, normalisation and conversion, as one value struct whose members carry the
// program's global names.
//
// Reading happens in stages because the main window puts checks and dialogs between them,
// and because the order in which keys are first read is the order in which a fresh file
// fills itself with defaults. Start-up order:
//   readInterface(); removeObsoleteSections(); isFirstRun() -> setup dialog;
//   readDebug(); readDdsDevice() (check); readDdsParameters(); readAdcDevice() (check);
//   readAdcParameters(); readPorts(); readMainWindowState(); then, once the scale is applied,
//   readMarkers();
// readAll() does the same without the dialogs. A numeric key whose text is not a number
// (or does not fit its type, or is outside the codes the program knows) is treated as
// missing: its default is used and written back. A number that fits but is absurd for its
// key is brought to the nearer limit of the range given beside the key's default below (in
// memory only; the window's keys reach the file again when it closes).
//
// The file is read once by each SweepConfig and each writer replaces it once.

#include "AuxConfig.h"
#include "IniFile.h"
#include "LptDrivers.h"
#include "SweepContract.h"

#include <QString>
#include <QtGlobal>
#include <limits>
#include <memory>

// What a writer reports: true when the file was written, else which file and why not.
struct WriteResult {
    IniError error;
    explicit operator bool() const { return !error.isError(); }
};

class SweepConfig {
public:
    explicit SweepConfig(QString iniPath = QString());

    // Where Sweep.ini lives: beside the executable when that folder already holds a
    // Sweep.ini and is writable (portable use), else $XDG_CONFIG_HOME/orvane/Sweep.ini
    // (~/.config/orvane/Sweep.ini), whose folder is created when missing.
    // `sweep --config PATH` overrides this in the caller.
    static QString defaultIniPath();
    static QString defaultIniPath(const QString& programDir);

    // Device-name checks (case-sensitive substring tests).
    static bool ddsDeviceAllowed(const QString& device); // inside "AD9850AD9851AD9951"
    static bool adcDeviceAllowed(const QString& device); // inside "8bit10bit"

    // --- stages of the start-up read ---
    void readInterface(); // [Config] "Interface"
    // Drops [Attenuator] and the temporary files an interrupted save left beside the file.
    void removeObsoleteSections();
    bool isFirstRun() const;  // [Config] "DDS Device" missing or empty; writes nothing
    void readDebug();         // [Debug] "Log", "USB API", "Slow CPU"
    bool readDdsDevice();     // [Config] "DDS Device"; returns ddsDeviceAllowed
    void readDdsParameters(); // "DDS Multiplier", "DDS Xtal freq", "DDS Max freq", "DDS Min freq",
                              // "DDS Offset"
    bool readAdcDevice();     // [Config] "ADC Device"; returns adcDeviceAllowed
    void readAdcParameters(); // "ADC Offset", "ADC Step", "ADC Channel"
    // [Parallel Port] "LPT", "Driver"; [Serial Port] "CommPort", "Settings", "Device";
    // [Simulator] "DUT" (only when present: it is not written back).
    void readPorts();
    void readMainWindowState(); // [Sweep Generator], with Scale 10 -> 3 and Start/Stop clamping
    void readMarkers();         // "Marker 3", "Marker 4" (normalised), "Marker 1", "Marker 2"
    // All stages in order; false when a device name fails its check (reading goes on).
    bool readAll();

    // [Aux1] (n = 1) or [Aux2] (n = 2) as the panel set-up reads them: "Inverse Logic",
    // "Title", "Enabled", then only when enabled the eight steps and, for Aux2,
    // "PotMax", "PotMin", "i2c_control", "i2c_command".
    AuxConfig readAux(int n) const;
    // The same keys as the setup dialog loads them: "Enabled", the eight steps,
    // "Inverse Logic", "Title", and for Aux2 "PotMax", "PotMin" (whatever "Enabled" says).
    AuxConfig readAuxForSetup(int n) const;
    // The setup dialog's loader of the DDS and detector keys of [Config] or of a factory set
    // [InterfaceN]: its defaults differ from start-up in "ADC Step" ("5") and "ADC Offset" ("0").
    void readHardwareSection(const QString& section);
    // A factory set [InterfaceN] is present when its "DDS Device" is present and not empty.
    bool hasHardwareSection(const QString& section) const;

    // --- writers, each in its documented key order and one replacement of the file ---
    // Numbers are written so that they read back as the same number (StoredNumber.h).
    // Main window closing. m1/m2 are the marker frequency field texts (saved as numbers,
    // grouping removed; a text that is not a number leaves the stored key alone), m3/m4 the
    // level field texts (saved unchanged, unless a number too long for a value: then as the
    // number). The other values come from the members.
    WriteResult writeOnClose(const QString& m1Text, const QString& m2Text, const QString& m3Text,
                             const QString& m4Text) const;
    // Setup dialog "Apply": [Config], [Serial Port] "CommPort" (below 1 written as 1),
    // [Parallel Port] "LPT" (as "&H" + upper-case hex), then both AUX panels.
    WriteResult writeSetup(const AuxConfig& aux1, const AuxConfig& aux2) const;
    // The Linux keys, for a dialog that edits them: [Parallel Port] "Driver", [Serial Port]
    // "Device" and, when set, [Simulator] "DUT". writeSetup leaves them alone.
    WriteResult writePortMapping() const;
    // Preferences dialog closing.
    WriteResult writePreferences(qint16 newCursorMode);
    // Several writers as one replacement of the file: the writers in between change the file
    // in memory only, commit() writes it.
    void beginBatch() const;
    WriteResult commit() const;

    // Limits of the frequency keys (Hz): "DDS Xtal freq", "DDS Max freq", "DDS Min freq",
    // "Start", "Stop".
    static constexpr qint32 kMaxHz = 1000000000;

    QString iniFile;

    // [Config]
    qint16 interfaccia = InterfaceKind::kParallelPort;
    QString ddsDevice = QStringLiteral("AD9850");
    qint16 ddsMultiplier = 1;     // 1 .. 20 (the largest reference multiplier of the chips)
    qint32 ddsClock = 80000000;   // Hz, 1 .. kMaxHz
    qint32 ddsMaxFreq = 60000000; // Hz, 1 .. kMaxHz
    qint32 ddsMinFreq = 10;       // Hz, 0 .. kMaxHz
    double ddsOffset = 0.0;       // -1e6 .. 1e6 (thousandths of the tuning factor)
    QString adcDevice = QStringLiteral("10bit");
    float adcOffset = 5.0f; // volts, -1000 .. 1000
    float adcStep = 0.0f;   // volts per count, -1000 .. 1000
    qint16 adcChannel = 1;

    // [Debug]
    bool logEnabled = false;
    bool usbApi = false;
    qint32 slowCpu = 0;

    // [Parallel Port]
    qint16 lptAddress = 0x378;
    QString lptDriver = defaultLptDriver(); // a name of kLptDrivers (tarvex --lpt-driver)

    // [Serial Port]
    qint16 commPort = 6; // 1 .. 255
    QString serialSettings = QStringLiteral("115200,N,8,1");
    QString serialDevice; // path COM<commPort> maps to; empty: /dev/ttyS<commPort-1>

    // [Simulator]
    // Device under test of the simulated hardware (tarvex --sim-dut): a name of kSimulatedDuts;
    // empty: not configured, tarvex's own default.
    QString simDut;
    static bool simDutAllowed(const QString& name);

    // [Sweep Generator]
    qint16 scala = 0;
    qint32 freqStart = 1000000; // Hz, 0 .. kMaxHz, then into ddsMinFreq .. ddsMaxFreq
    qint32 freqStop = 10000000; // Hz, 0 .. kMaxHz, then at most ddsMaxFreq
    qint16 vistaCorrente = 0;
    QString marker1 = QStringLiteral("1000000");
    QString marker2 = QStringLiteral("2000000");
    QString marker3 = QStringLiteral("0");         // normalised
    QString marker4 = QStringLiteral("0");         // normalised
    float maxScaleV = 1.5f;                        // volts, 0.001 .. 10
    QString maxScaleVText = QStringLiteral("1.5"); // for txtMaxVolt, normalised
    qint32 maxScaleDb = -40; // dB, -90 .. 90 (the window shows it as minus its size)
    QString maxScaleDbText = QStringLiteral("-40"); // for txtMaxDb, normalised
    qint16 sweepMode = 0;
    qint16 cursorMode = 0;
    qint16 aux1Value = 0;
    qint16 aux2Value = 0;
    qint16 pot2Value = 0; // 0 .. 255

private:
    IniFile& ini() const;
    QString readText(const QString& section, const QString& key, const QString& def) const;
    // Codes: a value outside min .. max counts as missing.
    qint16 readInt16(const QString& section, const QString& key, const QString& def,
                     qint16 min = -32768, qint16 max = 32767) const;
    // Magnitudes: a value outside lo .. hi is brought to the nearer limit.
    qint32 readInt32(const QString& section, const QString& key, const QString& def,
                     qint32 lo = -2147483647 - 1, qint32 hi = 2147483647) const;
    bool readBool(const QString& section, const QString& key, const QString& def) const;
    double readDouble(const QString& section, const QString& key, const QString& def,
                      QString* normalisedText = nullptr,
                      double lo = std::numeric_limits<double>::lowest(),
                      double hi = std::numeric_limits<double>::max()) const;
    float readFloat(const QString& section, const QString& key, const QString& def,
                    QString* normalisedText = nullptr,
                    float lo = std::numeric_limits<float>::lowest(),
                    float hi = std::numeric_limits<float>::max()) const;
    bool write(const QString& section, const QString& key, const QString& value) const;

    // The parsed file, opened at the first access; a copy of the configuration opens its own.
    class IniHandle {
    public:
        IniHandle() = default;
        IniHandle(const IniHandle&) {}
        IniHandle& operator=(const IniHandle&) {
            file.reset();
            return *this;
        }
        std::unique_ptr<IniFile> file;
    };
    mutable IniHandle m_ini;
};
