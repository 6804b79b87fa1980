#pragma once
// The CSV text of one sweep. Line 1 is the header "Sample N","Frequency","DAC sample","milliVolt";
// lines 2..401 hold the row number (1..400), the frequency in Hz, the raw reading and the level
// in millivolts. Every line ends in CR LF. Numbers are written with '.' as decimal point and no
// grouping, whatever the locale, in the shortest form of up to 15 significant digits (exponent
// form "1E-05" only below 1E-4 or from 1E15 up), so the file reads back the same anywhere.
// The values must be finite.
#include "CsvSweep.h"

#include <QByteArray>

QByteArray writeSweepCsv(const CsvSweep& sweep);
