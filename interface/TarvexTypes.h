#pragma once
// Type mapping of the device contract (Integer n, Long i, Double d, Byte y, Boolean b,
// String s; sample vectors an / ad). Both processes must register the vector types by
// their spelled names, or QtDBus drops the aVettore signal without a word.
#include <QList>
#include <QString>

namespace tarvex {

inline constexpr const char* kService = "org.orvane.Tarvex";
inline constexpr const char* kPathPIC = "/cAsyncPIC";
inline constexpr const char* kPathLPT = "/cAsyncLPT";
inline constexpr const char* kPathVNA = "/cAsyncMiniVNA";

// Time-out of every client call (ms): a PIC command may retry for 6 s and the PIC's
// aInizializzaSweep sends four of them.
inline constexpr int kCallTimeoutMs = 30000;

// Registers QList<qint16> and QList<double> with QtDBus and the meta-type system. Idempotent.
void registerTypes();

} // namespace tarvex
