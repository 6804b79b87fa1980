#pragma once
// The MiniVNA's bytes on the wire and its frequency arithmetic, as pure functions.
//  request:  four lines "<number>\r" (mode byte, start word, count, step word); a number
//            that is not negative gets one leading blank (" 0", " 42949673")
//  response: count records of 4 bytes: phase low, high, magnitude low, high;
//            reading = low + 256 x high, 0..1023
#include "SweepContract.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <optional>

namespace vnawire {

inline constexpr int kRecordBytes = 4;

enum class Kind { Phase = 1, ReturnLoss = 2, Transmission = 3 };

// The mode byte that starts every request: 1 for transmission, else 0.
inline int modeByte(short kind) {
    return kind == static_cast<short>(Kind::Transmission) ? 1 : 0;
}

// " 5", "-5": the number's text with a blank in place of the sign when not negative.
QByteArray numberText(qint64 value);

// The four request lines, each ended by a carriage return.
QList<QByteArray> requestLines(int mode, qint32 startWord, qint32 count, qint32 stepWord);

// Tuning word per Hz: 2^32 / (multiplier x clock) + offset; nullopt when the product is 0.
std::optional<double> conversionFactor(int multiplier, double clockHz, double offset);

// round(freqHz x factor), halves to even; nullopt when it does not fit 32 bits signed.
std::optional<qint32> tuningWord(double freqHz, double factor);

// Unpacks records 1..count of bytes into vector[1..count]: phase (bytes 0, 1) for kind 1,
// magnitude (bytes 2, 3) for kinds 2 and 3, nothing for other kinds. A high byte above 3
// leaves that element unchanged. Records missing from bytes leave their elements unchanged.
void unpackRecords(const QByteArray& bytes, int count, short kind, QList<double>& vector);

} // namespace vnawire
