// SweepConfig: the AUX and setup-dialog readers and the three writers.
#include "CommonFunctions.h"
#include "NumberFormat.h"
#include "NumberParse.h"
#include "StoredNumber.h"
#include "SweepConfig.h"

namespace {

const QString kConfig = QStringLiteral("Config");
const QString kMain = QStringLiteral("Sweep Generator");

QString auxSection(int n) {
    return QStringLiteral("Aux") + QString::number(n);
}

QString stepKey(int i) {
    return QStringLiteral("Step ") + QString::number(i);
}

QString flag(bool on) {
    return on ? QStringLiteral("1") : QStringLiteral("0");
}

// A level field's text as saved: unchanged, unless it is a number too long for a value (a
// huge level shown with all its digits), which would read back cut to another number.
QString levelText(const QString& text) {
    if (text.size() <= IniFile::kMaxValueLength)
        return text;
    if (const auto v = parseNumber(text, ParseFlag::AllowGroupSeparator))
        return storedNumber(*v);
    return text;
}

} // namespace

AuxConfig SweepConfig::readAux(int n) const {
    const QString section = auxSection(n);
    beginBatch();
    AuxConfig aux;
    aux.inverseLogic = readInt16(section, QStringLiteral("Inverse Logic"), QStringLiteral("0")) > 0;
    aux.title =
        readText(section, QStringLiteral("Title"), QStringLiteral("Aux ") + QString::number(n));
    aux.enabled = readInt16(section, QStringLiteral("Enabled"), QStringLiteral("0")) > 0;
    if (!aux.enabled) {
        commit();
        return aux;
    }
    for (int i = 0; i < AuxConfig::kSteps; ++i)
        aux.setStep(i, readText(section, stepKey(i), AuxConfig::defaultStep(i)));
    if (n == 2) {
        // The potentiometer position and the I2C bytes travel as bytes.
        aux.potMax = readInt16(section, QStringLiteral("PotMax"), QStringLiteral("255"), 0, 255);
        aux.potMin = readInt16(section, QStringLiteral("PotMin"), QStringLiteral("0"), 0, 255);
        aux.i2cControl =
            quint8(readInt16(section, QStringLiteral("i2c_control"), QStringLiteral("80"), 0, 255));
        aux.i2cCommand = quint8(
            readInt16(section, QStringLiteral("i2c_command"), QStringLiteral("175"), 0, 255));
    }
    commit();
    return aux;
}

AuxConfig SweepConfig::readAuxForSetup(int n) const {
    const QString section = auxSection(n);
    beginBatch();
    AuxConfig aux;
    aux.enabled = readInt16(section, QStringLiteral("Enabled"), QStringLiteral("0")) > 0;
    for (int i = 0; i < AuxConfig::kSteps; ++i)
        aux.setStep(i, readText(section, stepKey(i), AuxConfig::defaultStep(i)));
    aux.inverseLogic = readInt16(section, QStringLiteral("Inverse Logic"), QStringLiteral("0")) > 0;
    aux.title =
        readText(section, QStringLiteral("Title"), QStringLiteral("Aux ") + QString::number(n));
    if (n == 2) {
        aux.potMax = readInt16(section, QStringLiteral("PotMax"), QStringLiteral("255"), 0, 255);
        aux.potMin = readInt16(section, QStringLiteral("PotMin"), QStringLiteral("0"), 0, 255);
    }
    commit();
    return aux;
}

void SweepConfig::readHardwareSection(const QString& section) {
    beginBatch();
    ddsDevice = readText(section, QStringLiteral("DDS Device"), QStringLiteral("AD9850"));
    ddsMultiplier = readInt16(section, QStringLiteral("DDS Multiplier"), QStringLiteral("1"));
    ddsClock = readInt32(section, QStringLiteral("DDS Xtal freq"), QStringLiteral("80000000"));
    ddsMaxFreq = readInt32(section, QStringLiteral("DDS Max freq"), QStringLiteral("60000000"));
    ddsMinFreq = readInt32(section, QStringLiteral("DDS Min freq"), QStringLiteral("10"));
    ddsOffset = readDouble(section, QStringLiteral("DDS Offset"), QStringLiteral("0"));
    adcDevice = readText(section, QStringLiteral("ADC Device"), QStringLiteral("10bit"));
    adcStep = readFloat(section, QStringLiteral("ADC Step"), QStringLiteral("5"));
    adcChannel = readInt16(section, QStringLiteral("ADC Channel"), QStringLiteral("1"));
    adcOffset = readFloat(section, QStringLiteral("ADC Offset"), QStringLiteral("0"));
    commit();
}

bool SweepConfig::hasHardwareSection(const QString& section) const {
    return ini().hasValue(section, QStringLiteral("DDS Device"));
}

WriteResult SweepConfig::writeOnClose(const QString& m1Text, const QString& m2Text,
                                      const QString& m3Text, const QString& m4Text) const {
    beginBatch();
    auto put = [&](const QString& section, const QString& key, const QString& value) {
        write(section, key, value);
    };
    // Marker frequencies are saved as plain numbers; a field that holds no number keeps
    // the stored value rather than saving text the next start cannot use.
    auto putFrequency = [&](const QString& key, const QString& text) {
        if (const auto v = parseNumber(text, ParseFlag::AllowGroupSeparator))
            put(kMain, key, storedNumber(*v));
    };
    put(kMain, QStringLiteral("Start"), numberToText(freqStart));
    put(kMain, QStringLiteral("Stop"), numberToText(freqStop));
    put(kMain, QStringLiteral("Marker 0"), numberToText(vistaCorrente));
    putFrequency(QStringLiteral("Marker 1"), m1Text);
    putFrequency(QStringLiteral("Marker 2"), m2Text);
    put(kMain, QStringLiteral("Marker 3"), levelText(m3Text));
    put(kMain, QStringLiteral("Marker 4"), levelText(m4Text));
    put(kMain, QStringLiteral("Max scaleV"), storedNumber(maxScaleV));
    put(kMain, QStringLiteral("Max scaleDb"), numberToText(maxScaleDb));
    put(kMain, QStringLiteral("Scale"), numberToText(scala));
    put(kMain, QStringLiteral("Sweep mode"), numberToText(sweepMode));
    put(kMain, QStringLiteral("Aux_1"), numberToText(aux1Value));
    put(kMain, QStringLiteral("Aux_2"), numberToText(aux2Value));
    put(kMain, QStringLiteral("Pot_2"), numberToText(pot2Value));
    put(kConfig, QStringLiteral("DDS Offset"), storedNumber(ddsOffset));
    put(kConfig, QStringLiteral("ADC Offset"), storedNumber(adcOffset));
    return commit();
}

WriteResult SweepConfig::writeSetup(const AuxConfig& aux1, const AuxConfig& aux2) const {
    beginBatch();
    auto put = [&](const QString& section, const QString& key, const QString& value) {
        write(section, key, value);
    };
    put(kConfig, QStringLiteral("Interface"), numberToText(interfaccia));
    put(kConfig, QStringLiteral("DDS Device"), ddsDevice);
    put(kConfig, QStringLiteral("DDS Xtal freq"), numberToText(ddsClock));
    put(kConfig, QStringLiteral("DDS Multiplier"), numberToText(ddsMultiplier));
    put(kConfig, QStringLiteral("DDS Max Freq"), numberToText(ddsMaxFreq));
    put(kConfig, QStringLiteral("DDS Min Freq"), numberToText(ddsMinFreq));
    put(kConfig, QStringLiteral("DDS Offset"), storedNumber(ddsOffset));
    put(kConfig, QStringLiteral("ADC Device"), adcDevice);
    put(kConfig, QStringLiteral("ADC Step"), storedNumber(adcStep));
    put(kConfig, QStringLiteral("ADC Offset"), storedNumber(adcOffset));
    put(kConfig, QStringLiteral("ADC Channel"), numberToText(adcChannel));
    put(QStringLiteral("Serial Port"), QStringLiteral("CommPort"),
        numberToText(commPort < 1 ? qint16(1) : commPort));
    put(QStringLiteral("Parallel Port"), QStringLiteral("LPT"),
        QStringLiteral("&H") + QString::number(quint16(lptAddress), 16).toUpper());
    for (int n = 1; n <= 2; ++n) {
        const AuxConfig& aux = n == 1 ? aux1 : aux2;
        const QString section = auxSection(n);
        put(section, QStringLiteral("Enabled"), flag(aux.enabled));
        for (int i = 0; i < AuxConfig::kSteps; ++i)
            put(section, stepKey(i), aux.storedStep(i));
        put(section, QStringLiteral("Inverse Logic"), flag(aux.inverseLogic));
        put(section, QStringLiteral("Title"), aux.title);
    }
    put(auxSection(2), QStringLiteral("PotMax"), numberToText(aux2.potMax));
    put(auxSection(2), QStringLiteral("PotMin"), numberToText(aux2.potMin));
    return commit();
}

WriteResult SweepConfig::writePortMapping() const {
    beginBatch();
    write(QStringLiteral("Parallel Port"), QStringLiteral("Driver"), lptDriver);
    write(QStringLiteral("Serial Port"), QStringLiteral("Device"), serialDevice);
    if (!simDut.isEmpty())
        write(QStringLiteral("Simulator"), QStringLiteral("DUT"), simDut);
    return commit();
}

WriteResult SweepConfig::writePreferences(qint16 newCursorMode) {
    cursorMode = newCursorMode;
    beginBatch();
    write(kMain, QStringLiteral("Cursor mode"), numberToText(cursorMode));
    return commit();
}
