#include "VnaProtocol.h"

#include "NumberFormat.h"
#include "Rounding.h"

#include <cmath>
#include <limits>

namespace vnawire {

QByteArray numberText(qint64 value) {
    return numberToTextBlank(value).toLatin1();
}

QList<QByteArray> requestLines(int mode, qint32 startWord, qint32 count, qint32 stepWord) {
    QList<QByteArray> lines;
    for (qint64 v : {qint64(mode), qint64(startWord), qint64(count), qint64(stepWord)})
        lines << numberText(v) + '\r';
    return lines;
}

std::optional<double> conversionFactor(int multiplier, double clockHz, double offset) {
    const double product = static_cast<double>(multiplier) * clockHz;
    if (product == 0.0 || !std::isfinite(product))
        return std::nullopt;
    return 4294967296.0 / product + offset;
}

std::optional<qint32> tuningWord(double freqHz, double factor) {
    return toInt32(freqHz * factor); // halves to even; nullopt when it does not fit
}

void unpackRecords(const QByteArray& bytes, int count, short kind, QList<double>& vector) {
    int offset = 0;
    if (kind == static_cast<short>(Kind::Phase))
        offset = 0;
    else if (kind == static_cast<short>(Kind::ReturnLoss) ||
             kind == static_cast<short>(Kind::Transmission))
        offset = 2;
    else
        return;
    for (int r = 1; r <= count && r < vector.size(); ++r) {
        const qsizetype at = static_cast<qsizetype>(r - 1) * kRecordBytes + offset;
        if (at + 1 >= bytes.size())
            break;
        const auto low = static_cast<unsigned char>(bytes[at]);
        const auto high = static_cast<unsigned char>(bytes[at + 1]);
        if (high > 3)
            continue;
        vector[r] = low + 256 * high;
    }
}

} // namespace vnawire
