#pragma once
// The PIC board's bytes on the wire, as pure functions (no I/O).
//  command frame:  ":" + command + 9 decimal digits (zero-padded, last 9 kept) + CR
//  reply:          accepted when its first five characters contain "ACK"
//  sample block:   ":" + 400 x (low, high) + CR, reading = low + 255 x high (not 256)
#include "SweepContract.h"

#include <QByteArray>
#include <QList>

namespace picwire {

inline constexpr int kBlockBytes = 2 * NUMERO_CAMPIONI; // value bytes between ":" and CR
inline constexpr int kMaxReading = 1024;                // above: detector overflow
inline constexpr char kBlockStart = ':';
inline constexpr char kCr = '\r';

// ":B001000000\r" for ("B", 1000000).
QByteArray encodeFrame(const QByteArray& command, qint32 argument);

// Whether a reply (at most its first five characters count) acknowledges the command.
bool isAcknowledged(const QByteArray& reply);

// Reading of one (low, high) pair.
inline int reading(unsigned char low, unsigned char high) {
    return low + 255 * high;
}

struct BlockResult {
    bool ok = false;     // all readings were 0..1024
    int overflowAt = -1; // 1-based index of the first reading above 1024, else -1
};

// Decodes the 800 value bytes of a block into vector[1..400], in order, stopping at the
// first overflow (the readings before it are already written, as the board's host did).
// vector must hold at least 401 elements; fewer than 800 bytes is not a block.
BlockResult decodeBlock(const QByteArray& bytes, QList<qint16>& vector);

} // namespace picwire
