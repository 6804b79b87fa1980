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

using namespace ConfigKeys;

namespace {

std::optional<double> number(const QString& text) {
    return storedNumberValue(text);
}

// A whole number of type T within the key's range, clamped into it where the key says so;
// std::nullopt when the default is to be used.
template <typename T>
std::optional<T> wholeInRange(const std::optional<double>& value, const ConfigKey& key,
                              std::optional<T> (*convert)(double)) {
    const std::optional<T> whole = value ? convert(*value) : std::nullopt;
    if (!whole || (*whole >= key.lo && *whole <= key.hi))
        return whole;
    if (key.outside == ConfigKey::Missing)
        return std::nullopt;
    return static_cast<T>(std::clamp(double(*whole), key.lo, key.hi));
}

// A limit of a single-precision key as the value read through double meets it.
double floatLimit(double limit) {
    constexpr double kFloatMax = std::numeric_limits<float>::max();
    return double(float(std::clamp(limit, -kFloatMax, kFloatMax)));
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

QString SweepConfig::storedText(const ConfigKey& key) const {
    return ini().value(key.sectionName(), key.key()).value_or(QString()).trimmed();
}

QString SweepConfig::readText(const ConfigKey& key, const QString& section) const {
    return leggiINI(ini(), section.isEmpty() ? key.sectionName() : section, key.key(),
                    key.defaultValue());
}

bool SweepConfig::write(const ConfigKey& key, const QString& value, const QString& section) const {
    return ini().setValue(section.isEmpty() ? key.sectionName() : section, key.key(), value);
}

double SweepConfig::useDefault(const ConfigKey& key, const QString& section) const {
    write(key, key.defaultValue(), section);
    return number(key.defaultValue()).value_or(0);
}

qint16 SweepConfig::readInt16(const ConfigKey& key, const QString& section) const {
    if (const auto v = wholeInRange<qint16>(number(readText(key, section)), key, toInt16))
        return *v;
    return static_cast<qint16>(useDefault(key, section));
}

qint32 SweepConfig::readInt32(const ConfigKey& key, const QString& section) const {
    if (const auto v = wholeInRange<qint32>(number(readText(key, section)), key, toInt32))
        return *v;
    return static_cast<qint32>(useDefault(key, section));
}

bool SweepConfig::readBool(const ConfigKey& key) const {
    const QString text = readText(key).trimmed();
    if (text.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0)
        return true;
    if (text.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0)
        return false;
    if (const auto v = number(text))
        return *v != 0.0;
    return useDefault(key, QString()) != 0.0;
}

double SweepConfig::readDouble(const ConfigKey& key, const QString& section,
                               QString* normalisedText) const {
    QString text = normalizzaNumero(readText(key, section));
    auto v = parseNumber(text);
    if (!v) {
        write(key, key.defaultValue(), section);
        text = normalizzaNumero(key.defaultValue());
        v = parseNumber(text).value_or(0.0);
    }
    if (*v < key.lo || *v > key.hi) {
        v = std::clamp(*v, key.lo, key.hi);
        text = storedNumber(*v);
    }
    if (normalisedText)
        *normalisedText = text;
    return *v;
}

float SweepConfig::readFloat(const ConfigKey& key, const QString& section,
                             QString* normalisedText) const {
    QString text;
    double v = readDouble(key.unbounded(), section, &text);
    if (std::fabs(v) > double(std::numeric_limits<float>::max())) {
        write(key, key.defaultValue(), section);
        text = normalizzaNumero(key.defaultValue());
        v = parseNumber(text).value_or(0.0);
    }
    const double lo = floatLimit(key.lo);
    const double hi = floatLimit(key.hi);
    if (v < lo || v > hi) {
        v = std::clamp(v, lo, hi);
        text = storedNumber(float(v));
    }
    if (normalisedText)
        *normalisedText = text;
    return float(v);
}

// --- stages ---

void SweepConfig::readInterface() {
    const Batch batch(ini());
    interfaccia = readInt16(kInterface);
}

void SweepConfig::removeObsoleteSections() {
    ini().removeLeftovers();
    ini().removeSection(QString::fromLatin1(kObsoleteSection));
}

bool SweepConfig::isFirstRun() const {
    return !ini().hasValue(kDdsDevice.sectionName(), kDdsDevice.key());
}

void SweepConfig::readDebug() {
    const Batch batch(ini());
    logEnabled = readBool(kLog);
    usbApi = readBool(kUsbApi);
    slowCpu = readInt32(kSlowCpu);
}

bool SweepConfig::readDdsDevice() {
    const Batch batch(ini());
    ddsDevice = readText(kDdsDevice);
    return ddsDeviceAllowed(ddsDevice);
}

void SweepConfig::readDdsParameters() {
    const Batch batch(ini());
    ddsMultiplier = readInt16(kDdsMultiplier);
    ddsClock = readInt32(kDdsClock);
    ddsMaxFreq = readInt32(kDdsMaxFreq);
    ddsMinFreq = readInt32(kDdsMinFreq);
    ddsOffset = readDouble(kDdsOffset);
}

bool SweepConfig::readAdcDevice() {
    const Batch batch(ini());
    adcDevice = readText(kAdcDevice);
    return adcDeviceAllowed(adcDevice);
}

void SweepConfig::readAdcParameters() {
    const Batch batch(ini());
    adcOffset = readFloat(kAdcOffset);
    adcStep = readFloat(kAdcStep);
    adcChannel = readInt16(kAdcChannel);
}

void SweepConfig::readPorts() {
    const Batch batch(ini());
    lptAddress = readInt16(kLpt);
    const QString driver = readText(kLptDriver).trimmed().toLower();
    if (lptDriverNames().contains(driver)) {
        lptDriver = driver;
    } else {
        write(kLptDriver, kLptDriver.defaultValue());
        lptDriver = kLptDriver.defaultValue();
    }
    commPort = readInt16(kCommPort);
    serialSettings = readText(kSerialSettings);
    serialDevice = readText(kSerialDevice).trimmed();
    // Only the setup dialog writes this key; files without it stay as they are.
    const QString dut = storedText(kSimDut).toLower();
    simDut = simDutAllowed(dut) ? dut : QString();
}

bool SweepConfig::isAverageChoice(int sweeps) {
    return std::find(kAverageChoices.begin(), kAverageChoices.end(), sweeps) !=
           kAverageChoices.end();
}

bool SweepConfig::simDutAllowed(const QString& name) {
    return isSimulatedDut(name);
}

void SweepConfig::readMainWindowState() {
    const Batch batch(ini());
    // A stored 10 is an old code of scale 3; codes outside 0..4 would index past the
    // scale menu, so they count as missing.
    const auto scale = number(readText(kScale));
    const auto scaleCode = scale ? toInt16(*scale) : std::nullopt;
    if (scaleCode && *scaleCode == 10)
        scala = 3;
    else if (const auto code = wholeInRange<qint16>(scale, kScale, toInt16))
        scala = *code;
    else
        scala = static_cast<qint16>(useDefault(kScale, QString()));

    freqStart = readInt32(kStart);
    freqStop = readInt32(kStop);
    if (freqStart > ddsMaxFreq || freqStart < ddsMinFreq)
        freqStart = ddsMinFreq;
    if (freqStop > ddsMaxFreq)
        freqStop = ddsMaxFreq;

    vistaCorrente = readInt16(kView);
    // A file that never averaged does not get the key.
    const int average = storedText(kAverage).toInt();
    averageSweeps =
        static_cast<qint16>(isAverageChoice(average) ? average : kAverage.defaultAs<int>());
    maxScaleV = readFloat(kMaxScaleV, QString(), &maxScaleVText);

    const double db = readDouble(kMaxScaleDb.unbounded(), QString(), &maxScaleDbText);
    if (const auto dbInt = toInt32(db)) {
        maxScaleDb =
            static_cast<qint32>(std::clamp(double(*dbInt), kMaxScaleDb.lo, kMaxScaleDb.hi));
        if (maxScaleDb != *dbInt)
            maxScaleDbText = numberToText(maxScaleDb);
    } else {
        maxScaleDb = static_cast<qint32>(useDefault(kMaxScaleDb, QString()));
        maxScaleDbText = kMaxScaleDb.defaultValue();
    }

    sweepMode = readInt16(kSweepMode);
    cursorMode = readInt16(kCursorMode);
    aux1Value = readInt16(kAux1Value);
    aux2Value = readInt16(kAux2Value);
    pot2Value = readInt16(kPot2Value);
}

void SweepConfig::readMarkers() {
    const Batch batch(ini());
    // Levels first, as the window places the level markers before the frequency markers.
    marker3 = normalizzaNumero(readText(kMarker3));
    marker4 = normalizzaNumero(readText(kMarker4));
    marker1 = readText(kMarker1);
    marker2 = readText(kMarker2);
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
