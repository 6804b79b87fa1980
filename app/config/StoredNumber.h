#pragma once
// Numbers as Sweep.ini holds them. Written: the ordinary text form ("0.5", "1E-05", decimal
// separator of the locale) when it reads back as the same number, otherwise the shortest form
// that does (at most 17 significant digits, so it always fits a value's 254 characters).
// Read: either decimal separator, then the number (see normalizzaNumero).

#include <QString>
#include <optional>

QString storedNumber(double value);
// A single-precision value reads back through double, as the configuration reads it.
QString storedNumber(float value);

std::optional<double> storedNumberValue(const QString& text);
