#pragma once
// Routines shared by the windows of Sweep: Sweep.ini access by section and key, the
// diagnostic log switch and sink, reading fractional numbers written under either decimal
// separator, and the volt/dB conversions of every display of the detector signal.

#include <QChar>
#include <QString>
#include <functional>

class IniFile;

// The value of [section] key in file; when it is missing or empty the default is returned
// and written into the file, so every key read once is present afterwards.
QString leggiINI(const QString& section, const QString& key, const QString& file,
                 const QString& defaultValue);
// Writes one key, creating file and section when needed. Callers may ignore the result;
// false means the file could not be written.
bool scriviINI(const QString& section, const QString& key, const QString& value,
               const QString& file);
// The same on a file already open: it is read once, not once per key.
QString leggiINI(IniFile& ini, const QString& section, const QString& key,
                 const QString& defaultValue);

// First-run probe: the key is present and not empty. Writes nothing.
bool probeINI(const QString& section, const QString& key, const QString& file);
// Removes a whole section (nothing happens when it or the file is missing).
bool removeSectionINI(const QString& section, const QString& file);

// Diagnostic log. With logging off scriviLog does nothing; with it on each line goes to
// the sink (the main window's log list), in call order. Main-thread use.
void scriviLog(const QString& text);
void setLogEnabled(bool enabled);
bool logEnabled();
void setLogSink(std::function<void(const QString&)> sink);

// The decimal separator of the current locale: the second character of one half as text.
QChar separatoreDecimale();
// Turns a fractional number written with '.' or ',' into the current locale's form:
// with a ',' locale every '.' becomes ','; otherwise every ',' becomes '.'. No validation.
QString normalizzaNumero(const QString& text);

// Volts to dB for scale code scala (0 linear: unchanged; 1, 2 against 1 V; 3, 4 against
// 10 V), to 2 decimals halves to even; volts <= 0 or NaN give -100.
double voltToDb(double volts, int scala);
// dB to volts, to 3 decimals: scala 0 unchanged, 1/2 against 1 V, 3/4 against 10 V,
// any other scale 0.
double dbToVolt(double db, int scala);
