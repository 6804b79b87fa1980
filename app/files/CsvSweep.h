#pragma once
// One sweep as a CSV file holds it: 400 points, each with its frequency, the raw converter
// reading and the detector level. Index i stands for row i + 1 of the file and of the table.
#include "SweepContract.h"

#include <array>

struct CsvPoint {
    double frequency = 0; // Hz
    double raw = 0;       // converter counts
    double volts = 0;     // V (the file stores millivolts)
};

inline constexpr int kCsvRows = NUMERO_CAMPIONI;
using CsvSweep = std::array<CsvPoint, kCsvRows>;
