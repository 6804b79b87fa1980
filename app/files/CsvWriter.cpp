#include "CsvWriter.h"

#include <QString>

namespace {

QByteArray fileNumber(double value) {
    // 'g' with 15 digits drops trailing zeros and uses the C locale; "-0" would read back fine
    // but is written as "0" like every other zero.
    if (value == 0)
        value = 0;
    return QByteArray::number(value, 'g', 15).replace('e', 'E');
}

} // namespace

QByteArray writeSweepCsv(const CsvSweep& sweep) {
    QByteArray out;
    out.reserve(32 * (kCsvRows + 1));
    out += "\"Sample N\",\"Frequency\",\"DAC sample\",\"milliVolt\"\r\n";
    for (int i = 0; i < kCsvRows; ++i) {
        const CsvPoint& p = sweep[i];
        out += QByteArray::number(i + 1);
        out += ',';
        out += fileNumber(p.frequency);
        out += ',';
        out += fileNumber(p.raw);
        out += ',';
        out += fileNumber(p.volts * 1000.0);
        out += "\r\n";
    }
    return out;
}
