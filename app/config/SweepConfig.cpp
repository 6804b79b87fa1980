#include "SweepConfig.h"

#include "CommonFunctions.h"
#include "IniFile.h"
#include "LptDrivers.h"
#include "NumberFormat.h"
#include "NumberParse.h"
#include "Rounding.h"
#include "SimulatedDuts.h"
#include "StoredNumber.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

namespace {

const QString kConfig = QStringLiteral("Config");
const QString kDebug = QStringLiteral("Debug");
const QString kParallel = QStringLiteral("Parallel Port");
const QString kSerial = QStringLiteral("Serial Port");
const QString kMain = QStringLiteral("Sweep Generator");

std::optional<double> number(const QString& text) {
    return storedNumberValue(text);
}

// The reads of one stage fill a fresh file with their defaults in one write.
class Batch {
public:
    explicit Batch(IniFile& ini) : m_ini(ini) { m_ini.beginBatch(); }
    ~Batch() { m_ini.commit(); }
    Batch(const Batch&) = delete;
    Batch& operator=(const Batch&) = delete;

private:
    IniFile& m_ini;
};

} // namespace

SweepConfig::SweepConfig(QString iniPath) : iniFile(std::move(iniPath)) {}

QString SweepConfig::defaultIniPath() {
    QString programDir;
    if (QCoreApplication::instance())
        programDir = QCoreApplication::applicationDirPath();
    else
        programDir = QFileInfo(QStringLiteral("/proc/self/exe"))
                         .canonicalFilePath()
                         .section(QLatin1Char('/'), 0, -2);
    return defaultIniPath(programDir);
}

QString SweepConfig::defaultIniPath(const QString& programDir) {
    const QFileInfo local(QDir(programDir).filePath(QStringLiteral("Sweep.ini")));
    if (!programDir.isEmpty() && local.isFile() && QFileInfo(programDir).isWritable())
        return local.absoluteFilePath();
    // XDG: a relative XDG_CONFIG_HOME is invalid and must be ignored.
    QString base = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (base.isEmpty() || QDir::isRelativePath(base))
        base = QDir::homePath() + QStringLiteral("/.config");
    const QString dir = base + QStringLiteral("/orvane");
    QDir().mkpath(dir);
    return dir + QStringLiteral("/Sweep.ini");
}

bool SweepConfig::ddsDeviceAllowed(const QString& device) {
    return QStringLiteral("AD9850AD9851AD9951").contains(device, Qt::CaseSensitive);
}

bool SweepConfig::adcDeviceAllowed(const QString& device) {
    return QStringLiteral("8bit10bit").contains(device, Qt::CaseSensitive);
}

IniFile& SweepConfig::ini() const {
    if (!m_ini.file || m_ini.file->path() != iniFile)
        m_ini.file = std::make_unique<IniFile>(iniFile);
    return *m_ini.file;
}

void SweepConfig::beginBatch() const {
    ini().beginBatch();
}

WriteResult SweepConfig::commit() const {
    IniFile& file = ini();
    if (file.commit())
        return {};
    return {file.error()};
}

// --- typed reads: a text that is no valid value of its key counts as missing ---

QString SweepConfig::readText(const QString& section, const QString& key,
                              const QString& def) const {
    return leggiINI(ini(), section, key, def);
}

bool SweepConfig::write(const QString& section, const QString& key, const QString& value) const {
    return ini().setValue(section, key, value);
}

qint16 SweepConfig::readInt16(const QString& section, const QString& key, const QString& def,
                              qint16 min, qint16 max) const {
    const auto v = number(readText(section, key, def));
    const auto i = v ? toInt16(*v) : std::nullopt;
    if (i && *i >= min && *i <= max)
        return *i;
    write(section, key, def);
    return toInt16(number(def).value_or(0)).value_or(0);
}

qint32 SweepConfig::readInt32(const QString& section, const QString& key, const QString& def,
                              qint32 lo, qint32 hi) const {
    const auto v = number(readText(section, key, def));
    const auto i = v ? toInt32(*v) : std::nullopt;
    if (i)
        return std::clamp(*i, lo, hi);
    write(section, key, def);
    return toInt32(number(def).value_or(0)).value_or(0);
}

bool SweepConfig::readBool(const QString& section, const QString& key, const QString& def) const {
    const QString text = readText(section, key, def).trimmed();
    if (text.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0)
        return true;
    if (text.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0)
        return false;
    if (const auto v = number(text))
        return *v != 0.0;
    write(section, key, def);
    return number(def).value_or(0) != 0.0;
}

double SweepConfig::readDouble(const QString& section, const QString& key, const QString& def,
                               QString* normalisedText, double lo, double hi) const {
    QString text = normalizzaNumero(readText(section, key, def));
    auto v = parseNumber(text);
    if (!v) {
        write(section, key, def);
        text = normalizzaNumero(def);
        v = parseNumber(text).value_or(0.0);
    }
    if (*v < lo || *v > hi) {
        v = std::clamp(*v, lo, hi);
        text = storedNumber(*v);
    }
    if (normalisedText)
        *normalisedText = text;
    return *v;
}

float SweepConfig::readFloat(const QString& section, const QString& key, const QString& def,
                             QString* normalisedText, float lo, float hi) const {
    QString text;
    double v = readDouble(section, key, def, &text);
    if (std::fabs(v) > double(std::numeric_limits<float>::max())) {
        write(section, key, def);
        text = normalizzaNumero(def);
        v = parseNumber(text).value_or(0.0);
    }
    if (v < double(lo) || v > double(hi)) {
        v = std::clamp(v, double(lo), double(hi));
        text = storedNumber(float(v));
    }
    if (normalisedText)
        *normalisedText = text;
    return float(v);
}

// --- stages ---

void SweepConfig::readInterface() {
    const Batch batch(ini());
    interfaccia = readInt16(kConfig, QStringLiteral("Interface"), QStringLiteral("2"));
}

void SweepConfig::removeObsoleteSections() {
    ini().removeLeftovers();
    ini().removeSection(QStringLiteral("Attenuator"));
}

bool SweepConfig::isFirstRun() const {
    return !ini().hasValue(kConfig, QStringLiteral("DDS Device"));
}

void SweepConfig::readDebug() {
    const Batch batch(ini());
    logEnabled = readBool(kDebug, QStringLiteral("Log"), QStringLiteral("0"));
    usbApi = readBool(kDebug, QStringLiteral("USB API"), QStringLiteral("0"));
    slowCpu = readInt32(kDebug, QStringLiteral("Slow CPU"), QStringLiteral("0"));
}

bool SweepConfig::readDdsDevice() {
    const Batch batch(ini());
    ddsDevice = readText(kConfig, QStringLiteral("DDS Device"), QStringLiteral("AD9850"));
    return ddsDeviceAllowed(ddsDevice);
}

void SweepConfig::readDdsParameters() {
    const Batch batch(ini());
    ddsMultiplier = std::clamp<qint16>(
        readInt16(kConfig, QStringLiteral("DDS Multiplier"), QStringLiteral("1")), 1, 20);
    ddsClock =
        readInt32(kConfig, QStringLiteral("DDS Xtal freq"), QStringLiteral("80000000"), 1, kMaxHz);
    ddsMaxFreq =
        readInt32(kConfig, QStringLiteral("DDS Max freq"), QStringLiteral("60000000"), 1, kMaxHz);
    ddsMinFreq =
        readInt32(kConfig, QStringLiteral("DDS Min freq"), QStringLiteral("10"), 0, kMaxHz);
    ddsOffset =
        readDouble(kConfig, QStringLiteral("DDS Offset"), QStringLiteral("0"), nullptr, -1e6, 1e6);
}

bool SweepConfig::readAdcDevice() {
    const Batch batch(ini());
    adcDevice = readText(kConfig, QStringLiteral("ADC Device"), QStringLiteral("10bit"));
    return adcDeviceAllowed(adcDevice);
}

void SweepConfig::readAdcParameters() {
    const Batch batch(ini());
    adcOffset = readFloat(kConfig, QStringLiteral("ADC Offset"), QStringLiteral("5"), nullptr,
                          -1000.0f, 1000.0f);
    adcStep = readFloat(kConfig, QStringLiteral("ADC Step"), QStringLiteral("0"), nullptr, -1000.0f,
                        1000.0f);
    adcChannel = readInt16(kConfig, QStringLiteral("ADC Channel"), QStringLiteral("1"));
}

void SweepConfig::readPorts() {
    const Batch batch(ini());
    lptAddress = readInt16(kParallel, QStringLiteral("LPT"), QStringLiteral("&H378"));
    const QString driver =
        readText(kParallel, QStringLiteral("Driver"), defaultLptDriver()).trimmed().toLower();
    if (lptDriverNames().contains(driver)) {
        lptDriver = driver;
    } else {
        write(kParallel, QStringLiteral("Driver"), defaultLptDriver());
        lptDriver = defaultLptDriver();
    }
    commPort = std::clamp<qint16>(
        readInt16(kSerial, QStringLiteral("CommPort"), QStringLiteral("6")), 1, 255);
    serialSettings = readText(kSerial, QStringLiteral("Settings"), QStringLiteral("115200,N,8,1"));
    serialDevice = readText(kSerial, QStringLiteral("Device"), QString()).trimmed();
    // Only the setup dialog writes this key; files without it stay as they are.
    const QString dut = ini()
                            .value(QStringLiteral("Simulator"), QStringLiteral("DUT"))
                            .value_or(QString())
                            .trimmed()
                            .toLower();
    simDut = simDutAllowed(dut) ? dut : QString();
}

bool SweepConfig::simDutAllowed(const QString& name) {
    return isSimulatedDut(name);
}

void SweepConfig::readMainWindowState() {
    const Batch batch(ini());
    // A stored 10 is an old code of scale 3; codes outside 0..4 would index past the
    // scale menu, so they count as missing.
    const auto scale = number(readText(kMain, QStringLiteral("Scale"), QStringLiteral("0")));
    const auto scaleCode = scale ? toInt16(*scale) : std::nullopt;
    if (scaleCode && *scaleCode == 10) {
        scala = 3;
    } else if (scaleCode && *scaleCode >= 0 && *scaleCode <= 4) {
        scala = *scaleCode;
    } else {
        write(kMain, QStringLiteral("Scale"), QStringLiteral("0"));
        scala = 0;
    }

    freqStart = readInt32(kMain, QStringLiteral("Start"), QStringLiteral("1000000"), 0, kMaxHz);
    freqStop = readInt32(kMain, QStringLiteral("Stop"), QStringLiteral("10000000"), 0, kMaxHz);
    if (freqStart > ddsMaxFreq || freqStart < ddsMinFreq)
        freqStart = ddsMinFreq;
    if (freqStop > ddsMaxFreq)
        freqStop = ddsMaxFreq;

    vistaCorrente = readInt16(kMain, QStringLiteral("Marker 0"), QStringLiteral("0"), 0, 3);
    maxScaleV = readFloat(kMain, QStringLiteral("Max scaleV"), QStringLiteral("1.5"),
                          &maxScaleVText, 0.001f, 10.0f);

    const double db =
        readDouble(kMain, QStringLiteral("Max scaleDb"), QStringLiteral("-40"), &maxScaleDbText);
    if (const auto dbInt = toInt32(db)) {
        maxScaleDb = std::clamp(*dbInt, -90, 90);
        if (maxScaleDb != *dbInt)
            maxScaleDbText = numberToText(maxScaleDb);
    } else {
        write(kMain, QStringLiteral("Max scaleDb"), QStringLiteral("-40"));
        maxScaleDb = -40;
        maxScaleDbText = QStringLiteral("-40");
    }

    sweepMode = readInt16(kMain, QStringLiteral("Sweep mode"), QStringLiteral("0"), 0, 2);
    cursorMode = readInt16(kMain, QStringLiteral("Cursor mode"), QStringLiteral("0"));
    // Sent to the hardware as bytes.
    aux1Value = readInt16(kMain, QStringLiteral("Aux_1"), QStringLiteral("0"), 0, 255);
    aux2Value = readInt16(kMain, QStringLiteral("Aux_2"), QStringLiteral("0"), 0, 255);
    pot2Value =
        std::clamp<qint16>(readInt16(kMain, QStringLiteral("Pot_2"), QStringLiteral("0")), 0, 255);
}

void SweepConfig::readMarkers() {
    const Batch batch(ini());
    // Levels first, as the window places the level markers before the frequency markers.
    marker3 = normalizzaNumero(readText(kMain, QStringLiteral("Marker 3"), QStringLiteral("0")));
    marker4 = normalizzaNumero(readText(kMain, QStringLiteral("Marker 4"), QStringLiteral("0")));
    marker1 = readText(kMain, QStringLiteral("Marker 1"), QStringLiteral("1000000"));
    marker2 = readText(kMain, QStringLiteral("Marker 2"), QStringLiteral("2000000"));
}

bool SweepConfig::readAll() {
    const Batch batch(ini());
    readInterface();
    removeObsoleteSections();
    readDebug();
    bool ok = readDdsDevice();
    readDdsParameters();
    ok = readAdcDevice() && ok;
    readAdcParameters();
    readPorts();
    readMainWindowState();
    readMarkers();
    return ok;
}
