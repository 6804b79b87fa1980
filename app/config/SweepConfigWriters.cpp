// SweepConfig: the AUX and setup-dialog readers and the three writers.
#include "CommonFunctions.h"
#include "NumberFormat.h"
#include "NumberParse.h"
#include "StoredNumber.h"
#include "SweepConfig.h"

using namespace ConfigKeys;

namespace {

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
    const AuxPanelKeys& keys = auxPanel(n);
    beginBatch();
    AuxConfig aux;
    aux.inverseLogic = readInt16(keys.inverseLogic) > 0;
    aux.title = readText(keys.title);
    aux.enabled = readInt16(keys.enabled) > 0;
    if (!aux.enabled) {
        commit();
        return aux;
    }
    for (int i = 0; i < AuxConfig::kSteps; ++i)
        aux.setStep(i, readText(keys.steps[i]));
    if (n == 2) {
        aux.potMax = readInt16(kPotMax);
        aux.potMin = readInt16(kPotMin);
        aux.i2cControl = quint8(readInt16(kI2cControl));
        aux.i2cCommand = quint8(readInt16(kI2cCommand));
    }
    commit();
    return aux;
}

AuxConfig SweepConfig::readAuxForSetup(int n) const {
    const AuxPanelKeys& keys = auxPanel(n);
    beginBatch();
    AuxConfig aux;
    aux.enabled = readInt16(keys.enabled) > 0;
    for (int i = 0; i < AuxConfig::kSteps; ++i)
        aux.setStep(i, readText(keys.steps[i]));
    aux.inverseLogic = readInt16(keys.inverseLogic) > 0;
    aux.title = readText(keys.title);
    if (n == 2) {
        aux.potMax = readInt16(kPotMax);
        aux.potMin = readInt16(kPotMin);
    }
    commit();
    return aux;
}

void SweepConfig::readHardwareSection(const QString& section) {
    const HardwareSetKeys& keys = kHardwareSet;
    beginBatch();
    ddsDevice = readText(keys.ddsDevice, section);
    ddsMultiplier = readInt16(keys.ddsMultiplier, section);
    ddsClock = readInt32(keys.ddsClock, section);
    ddsMaxFreq = readInt32(keys.ddsMaxFreq, section);
    ddsMinFreq = readInt32(keys.ddsMinFreq, section);
    ddsOffset = readDouble(keys.ddsOffset, section);
    adcDevice = readText(keys.adcDevice, section);
    adcStep = readFloat(keys.adcStep, section);
    adcChannel = readInt16(keys.adcChannel, section);
    adcOffset = readFloat(keys.adcOffset, section);
    commit();
}

bool SweepConfig::hasHardwareSection(const QString& section) const {
    return ini().hasValue(section, kDdsDevice.key());
}

WriteResult SweepConfig::writeOnClose(const QString& m1Text, const QString& m2Text,
                                      const QString& m3Text, const QString& m4Text) const {
    beginBatch();
    // Marker frequencies are saved as plain numbers; a field that holds no number keeps
    // the stored value rather than saving text the next start cannot use.
    auto putFrequency = [&](const ConfigKey& key, const QString& text) {
        if (const auto v = parseNumber(text, ParseFlag::AllowGroupSeparator))
            write(key, storedNumber(*v));
    };
    write(kStart, numberToText(freqStart));
    write(kStop, numberToText(freqStop));
    write(kView, numberToText(vistaCorrente));
    putFrequency(kMarker1, m1Text);
    putFrequency(kMarker2, m2Text);
    write(kMarker3, levelText(m3Text));
    write(kMarker4, levelText(m4Text));
    write(kMaxScaleV, storedNumber(maxScaleV));
    write(kMaxScaleDb, numberToText(maxScaleDb));
    write(kScale, numberToText(scala));
    write(kSweepMode, numberToText(sweepMode));
    write(kAux1Value, numberToText(aux1Value));
    write(kAux2Value, numberToText(aux2Value));
    write(kPot2Value, numberToText(pot2Value));
    write(kDdsOffset, storedNumber(ddsOffset));
    write(kAdcOffset, storedNumber(adcOffset));
    if (averageSweeps != kAverage.defaultAs<qint16>() ||
        ini().hasValue(kAverage.sectionName(), kAverage.key()))
        write(kAverage, numberToText(averageSweeps));
    return commit();
}

WriteResult SweepConfig::writeSetup(const AuxConfig& aux1, const AuxConfig& aux2) const {
    beginBatch();
    write(kInterface, numberToText(interfaccia));
    write(kDdsDevice, ddsDevice);
    write(kDdsClock, numberToText(ddsClock));
    write(kDdsMultiplier, numberToText(ddsMultiplier));
    // The dialog's own spelling: a fresh file gets these two with a capital F.
    write(kDdsMaxFreq.spelled("DDS Max Freq"), numberToText(ddsMaxFreq));
    write(kDdsMinFreq.spelled("DDS Min Freq"), numberToText(ddsMinFreq));
    write(kDdsOffset, storedNumber(ddsOffset));
    write(kAdcDevice, adcDevice);
    write(kAdcStep, storedNumber(adcStep));
    write(kAdcOffset, storedNumber(adcOffset));
    write(kAdcChannel, numberToText(adcChannel));
    write(kCommPort, numberToText(commPort < 1 ? qint16(1) : commPort));
    write(kLpt, QStringLiteral("&H") + QString::number(quint16(lptAddress), 16).toUpper());
    for (int n = 1; n <= 2; ++n) {
        const AuxConfig& aux = n == 1 ? aux1 : aux2;
        const AuxPanelKeys& keys = auxPanel(n);
        write(keys.enabled, flag(aux.enabled));
        for (int i = 0; i < AuxConfig::kSteps; ++i)
            write(keys.steps[i], aux.storedStep(i));
        write(keys.inverseLogic, flag(aux.inverseLogic));
        write(keys.title, aux.title);
    }
    write(kPotMax, numberToText(aux2.potMax));
    write(kPotMin, numberToText(aux2.potMin));
    return commit();
}

WriteResult SweepConfig::writePortMapping() const {
    beginBatch();
    write(kLptDriver, lptDriver);
    write(kSerialDevice, serialDevice);
    if (!simDut.isEmpty())
        write(kSimDut, simDut);
    return commit();
}

WriteResult SweepConfig::writePreferences(qint16 newCursorMode) {
    cursorMode = newCursorMode;
    beginBatch();
    write(kCursorMode, numberToText(cursorMode));
    return commit();
}
