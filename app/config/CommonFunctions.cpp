#include "CommonFunctions.h"

#include "IniFile.h"
#include "NumberFormat.h"
#include "Rounding.h"

#include <QLocale>
#include <atomic>
#include <cmath>
#include <mutex>
#include <utility>

namespace {

std::atomic<bool> g_logEnabled{false};
std::mutex g_sinkMutex;
std::function<void(const QString&)> g_sink;

} // namespace

QString leggiINI(const QString& section, const QString& key, const QString& file,
                 const QString& defaultValue) {
    IniFile ini(file);
    return leggiINI(ini, section, key, defaultValue);
}

QString leggiINI(IniFile& ini, const QString& section, const QString& key,
                 const QString& defaultValue) {
    const QString value = ini.value(section, key).value_or(QString());
    if (!value.isEmpty())
        return value;
    ini.setValue(section, key, defaultValue);
    return defaultValue;
}

bool scriviINI(const QString& section, const QString& key, const QString& value,
               const QString& file) {
    IniFile ini(file);
    return ini.setValue(section, key, value);
}

bool probeINI(const QString& section, const QString& key, const QString& file) {
    return IniFile(file).hasValue(section, key);
}

bool removeSectionINI(const QString& section, const QString& file) {
    IniFile ini(file);
    return ini.removeSection(section);
}

void scriviLog(const QString& text) {
    if (!g_logEnabled.load())
        return;
    std::function<void(const QString&)> sink;
    {
        const std::lock_guard lock(g_sinkMutex);
        sink = g_sink;
    }
    if (sink)
        sink(text);
}

void setLogEnabled(bool enabled) {
    g_logEnabled.store(enabled);
}

bool logEnabled() {
    return g_logEnabled.load();
}

void setLogSink(std::function<void(const QString&)> sink) {
    const std::lock_guard lock(g_sinkMutex);
    g_sink = std::move(sink);
}

QChar separatoreDecimale() {
    const QString half = numberToText(0.5);
    return half.size() > 1 ? half[1] : QLatin1Char('.');
}

QString normalizzaNumero(const QString& text) {
    const QChar sep = separatoreDecimale();
    QString out = text;
    if (sep != QLatin1Char('.'))
        out.replace(QLatin1Char('.'), sep);
    else
        out.replace(QLatin1Char(','), QLatin1Char('.'));
    return out;
}

double voltToDb(double volts, int scala) {
    if (scala == 0)
        return volts;
    const double reference = (scala == 3 || scala == 4) ? 10.0 : 1.0;
    if (!(volts > 0.0))
        return -100.0;
    return roundHalfEven(20.0 * std::log10(volts / reference), 2);
}

double dbToVolt(double db, int scala) {
    switch (scala) {
    case 0:
        return db;
    case 1:
    case 2:
        return roundHalfEven(std::pow(10.0, db / 20.0), 3);
    case 3:
    case 4:
        return roundHalfEven(std::pow(10.0, db / 20.0) * 10.0, 3);
    default:
        return 0.0;
    }
}
