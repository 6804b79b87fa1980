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
// key is brought to the nearer limit of the range given beside the key's default in
// ConfigKeys.h (in memory only; the window's keys reach the file again when it closes).
//
// The file is read once by each SweepConfig and each writer replaces it once.

#include "AuxConfig.h"
#include "ConfigKeys.h"
#include "IniFile.h"
#include "LptDrivers.h"
#include "SweepContract.h"

#include <QString>
#include <QtGlobal>
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

    // Limit of the frequency keys (Hz): "DDS Xtal freq", "DDS Max freq", "DDS Min freq",
    // "Start", "Stop".
    static constexpr qint32 kMaxHz = ConfigKeys::kMaxHz;

    QString iniFile;

    // The members start with the keys' defaults; their keys, defaults and ranges are in
    // ConfigKeys.h.
    // [Config]
    qint16 interfaccia = ConfigKeys::kInterface.defaultAs<qint16>();
    QString ddsDevice = ConfigKeys::kDdsDevice.defaultValue();
    qint16 ddsMultiplier = ConfigKeys::kDdsMultiplier.defaultAs<qint16>();
    qint32 ddsClock = ConfigKeys::kDdsClock.defaultAs<qint32>();     // Hz
    qint32 ddsMaxFreq = ConfigKeys::kDdsMaxFreq.defaultAs<qint32>(); // Hz
    qint32 ddsMinFreq = ConfigKeys::kDdsMinFreq.defaultAs<qint32>(); // Hz
    double ddsOffset = ConfigKeys::kDdsOffset.defaultAs<double>();
    QString adcDevice = ConfigKeys::kAdcDevice.defaultValue();
    float adcOffset = ConfigKeys::kAdcOffset.defaultAs<float>(); // volts
    float adcStep = ConfigKeys::kAdcStep.defaultAs<float>();     // volts per count
    qint16 adcChannel = ConfigKeys::kAdcChannel.defaultAs<qint16>();

    // [Debug]
    bool logEnabled = ConfigKeys::kLog.defaultAs<bool>();
    bool usbApi = ConfigKeys::kUsbApi.defaultAs<bool>();
    qint32 slowCpu = ConfigKeys::kSlowCpu.defaultAs<qint32>();

    // [Parallel Port]
    qint16 lptAddress = ConfigKeys::kLpt.defaultAs<qint16>();
    QString lptDriver = ConfigKeys::kLptDriver.defaultValue();

    // [Serial Port]
    qint16 commPort = ConfigKeys::kCommPort.defaultAs<qint16>();
    QString serialSettings = ConfigKeys::kSerialSettings.defaultValue();
    QString serialDevice = ConfigKeys::kSerialDevice.defaultValue();

    // [Simulator]
    // Device under test of the simulated hardware (tarvex --sim-dut): a name of kSimulatedDuts;
    // empty: not configured, tarvex's own default.
    QString simDut = ConfigKeys::kSimDut.defaultValue();
    static bool simDutAllowed(const QString& name);
    // One of the sweeps "Average" offers (ConfigKeys::kAverageChoices).
    static bool isAverageChoice(int sweeps);

    // [Sweep Generator]
    qint16 scala = ConfigKeys::kScale.defaultAs<qint16>();
    qint32 freqStart = ConfigKeys::kStart.defaultAs<qint32>(); // Hz
    qint32 freqStop = ConfigKeys::kStop.defaultAs<qint32>();   // Hz
    qint16 vistaCorrente = ConfigKeys::kView.defaultAs<qint16>();
    qint16 averageSweeps = ConfigKeys::kAverage.defaultAs<qint16>(); // 1, 2, 4, 8 or 16
    QString marker1 = ConfigKeys::kMarker1.defaultValue();
    QString marker2 = ConfigKeys::kMarker2.defaultValue();
    QString marker3 = ConfigKeys::kMarker3.defaultValue();           // normalised
    QString marker4 = ConfigKeys::kMarker4.defaultValue();           // normalised
    float maxScaleV = ConfigKeys::kMaxScaleV.defaultAs<float>();     // volts
    QString maxScaleVText = ConfigKeys::kMaxScaleV.defaultValue();   // for txtMaxVolt, normalised
    qint32 maxScaleDb = ConfigKeys::kMaxScaleDb.defaultAs<qint32>(); // dB
    QString maxScaleDbText = ConfigKeys::kMaxScaleDb.defaultValue(); // for txtMaxDb, normalised
    qint16 sweepMode = ConfigKeys::kSweepMode.defaultAs<qint16>();
    qint16 cursorMode = ConfigKeys::kCursorMode.defaultAs<qint16>();
    qint16 aux1Value = ConfigKeys::kAux1Value.defaultAs<qint16>();
    qint16 aux2Value = ConfigKeys::kAux2Value.defaultAs<qint16>();
    qint16 pot2Value = ConfigKeys::kPot2Value.defaultAs<qint16>();

private:
    IniFile& ini() const;
    // Typed reads of one key, in its own section or in `section` when one is given (a factory
    // set, an AUX panel). A text that is no value of the type counts as missing: the default is
    // used and written back. A number outside the key's range is clamped or counts as missing,
    // as the key says.
    QString readText(const ConfigKey& key, const QString& section = QString()) const;
    // The key's text as the file holds it, trimmed; empty when missing. Nothing is written back.
    QString storedText(const ConfigKey& key) const;
    qint16 readInt16(const ConfigKey& key, const QString& section = QString()) const;
    qint32 readInt32(const ConfigKey& key, const QString& section = QString()) const;
    bool readBool(const ConfigKey& key) const;
    double readDouble(const ConfigKey& key, const QString& section = QString(),
                      QString* normalisedText = nullptr) const;
    float readFloat(const ConfigKey& key, const QString& section = QString(),
                    QString* normalisedText = nullptr) const;
    // The key's default, written back, as the number of a key whose text was no valid value.
    double useDefault(const ConfigKey& key, const QString& section) const;
    bool write(const ConfigKey& key, const QString& value,
               const QString& section = QString()) const;

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
