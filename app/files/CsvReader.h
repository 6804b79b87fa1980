#pragma once
// Reads the CSV text of one sweep back into its 400 points, or says why it cannot.
//
// The first non-blank line is the header and is not looked at. Each following line holds the
// row number, the frequency in Hz, the raw reading and the level in millivolts; the file's own
// row numbers decide where a line goes, and reading ends after the line numbered 400 (what
// follows is not read). Every row 1..400 must have been given by then.
//
// Accepted from other programs: CR LF, LF or CR line ends, blank lines, blanks around fields,
// numbers in double quotes, decimals and exponents in every field, more than four fields.
// Numbers always use '.' as decimal point, whatever the locale.
//
// A refused text yields no points at all, so a caller never holds half a sweep.
#include "CsvSweep.h"

#include <QByteArrayView>
#include <QString>
#include <optional>

struct CsvReadResult {
    std::optional<CsvSweep> sweep; // the whole sweep; empty when the text was refused
    qsizetype line = 0;            // refused: the line at fault, counted from 1
    QString error;                 // refused: what was wrong on that line
};

CsvReadResult readSweepCsv(QByteArrayView text);
