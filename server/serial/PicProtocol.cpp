#include "PicProtocol.h"

namespace picwire {

QByteArray encodeFrame(const QByteArray& command, qint32 argument) {
    const QByteArray digits = QByteArrayLiteral("000000000") + QByteArray::number(argument);
    return kBlockStart + command + digits.right(9) + kCr;
}

bool isAcknowledged(const QByteArray& reply) {
    return reply.left(5).contains("ACK");
}

BlockResult decodeBlock(const QByteArray& bytes, QList<qint16>& vector) {
    BlockResult result;
    if (bytes.size() < kBlockBytes || vector.size() <= NUMERO_CAMPIONI)
        return result;
    for (int i = 0; i < NUMERO_CAMPIONI; ++i) {
        const int value = reading(static_cast<unsigned char>(bytes[2 * i]),
                                  static_cast<unsigned char>(bytes[2 * i + 1]));
        if (value > kMaxReading) {
            result.overflowAt = i + 1;
            return result;
        }
        vector[i + 1] = static_cast<qint16>(value);
    }
    result.ok = true;
    return result;
}

} // namespace picwire
