#pragma once
// Conversions to whole numbers and roundings to decimals. Everywhere in the system halves
// go to the even neighbour; a value that does not fit the target type is reported
// (std::nullopt), never converted with undefined behaviour.

#include <QtGlobal>
#include <optional>

// value rounded to `decimals` places, halves to even. With decimals > 0 the decision is
// taken on the 15-digit decimal form, so 0.0025 to 3 places is 0.002 and 2.675 to 2 places
// is 2.68 (the value the user sees), not whatever the binary fraction suggests.
// Non-finite values are returned unchanged.
double roundHalfEven(double value, int decimals = 0);

// Nearest integer, halves to even; std::nullopt for NaN, infinities and overflow.
std::optional<qint16> toInt16(double value);
std::optional<qint32> toInt32(double value);
// 0..255 after rounding, else std::nullopt.
std::optional<quint8> toByte(double value);

// Variants that report overflow through `ok` and give 0 then.
qint16 toInt16(double value, bool* ok);
qint32 toInt32(double value, bool* ok);
