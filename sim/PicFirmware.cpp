#include "PicFirmware.h"

#include "DutModel.h"
#include "SweepContract.h"

namespace {
constexpr char kCr = '\r';
constexpr int kFullScale = 1023;
constexpr qsizetype kMaxFrame = 40; // longer "frames" are line noise
} // namespace

PicFirmware::PicFirmware(std::unique_ptr<DutModel> dut) : m_dut(std::move(dut)) {}

PicFirmware::~PicFirmware() = default;

void PicFirmware::appendReading(QByteArray& out, int value) {
    out.append(static_cast<char>(value % 255));
    out.append(static_cast<char>(value / 255));
}

void PicFirmware::note(const QString& entry) {
    traceLine(entry);
    m_log.append(entry);
}

void PicFirmware::hostBytes(const QByteArray& bytes) {
    for (char c : bytes) {
        if (m_inFrame) {
            if (c == kCr) {
                m_inFrame = false;
                handleFrame(m_frame);
            } else if (c == ':' || m_frame.size() >= kMaxFrame) {
                m_frame.clear(); // a new frame starts, or the old one was noise
                m_inFrame = c == ':';
            } else {
                m_frame.append(c);
            }
            continue;
        }
        if (c == ':') {
            m_inFrame = true;
            m_frame.clear();
        } else if (c == 'E') {
            note(QStringLiteral("E"));
            m_sweeping = false;
            m_waitCr = false;
            m_out.clear(); // the block under way is abandoned
        } else if (c == kCr) {
            note(QStringLiteral("CR"));
            m_waitCr = false;
        }
    }
}

void PicFirmware::handleFrame(const QByteArray& frame) {
    if (frame.size() < 10)
        return;
    const QByteArray cmd = frame.left(frame.size() - 9);
    bool ok = false;
    const qint64 arg = frame.right(9).toLongLong(&ok);
    note(QString::fromLatin1(cmd) + QLatin1Char(' ') +
         (ok ? QString::number(arg) : QString::fromLatin1(frame.right(9))));
    if (cmd == "*") {
        m_sweeping = false;
        m_waitCr = false;
        m_out.clear();
        return;
    }
    if (!ok)
        return;
    if (cmd == "A") {
        m_fixed = arg;
    } else if (cmd == "B") {
        m_start = arg;
    } else if (cmd == "C") {
        m_stop = arg;
    } else if (cmd == "D") {
        m_step = arg;
    } else if (cmd == "F") {
        m_slow = arg;
        m_blocks = 0;
        m_truncated = false;
    } else {
        return; // unknown commands are ignored
    }
    if (fault(FirmwareFault::NoReply))
        return;
    m_out.append(fault(FirmwareFault::NoAck) ? QByteArrayLiteral("NAK\r\n")
                                             : QByteArrayLiteral("ACK\r\n"));
    if (cmd == "F") {
        m_sweeping = true;
        m_waitCr = false;
    }
}

bool PicFirmware::mayGenerate() const {
    return m_sweeping && !m_waitCr && !m_truncated && !fault(FirmwareFault::Silence);
}

void PicFirmware::generateBlock() {
    ++m_blocks;
    if (fault(FirmwareFault::Stray)) {
        m_out.append(QByteArray(802, '?'));
        return;
    }
    QByteArray block;
    block.reserve(802);
    block.append(':');
    for (int i = 1; i <= NUMERO_CAMPIONI; ++i) {
        int value = m_dut->code(static_cast<double>(m_start + (i - 1) * m_step), kFullScale);
        if (fault(FirmwareFault::Overflow) && i == 200)
            value = (m_blocks % 2 == 1) ? 1025 : 1024;
        appendReading(block, value);
    }
    if (fault(FirmwareFault::Truncate) && m_blocks == 1) {
        block.truncate(1 + NUMERO_CAMPIONI); // half the readings, then the board hangs
        m_truncated = true;
        m_out.append(block);
        return;
    }
    block.append(fault(FirmwareFault::NoEnd) ? '!' : kCr);
    m_out.append(block);
    if (m_slow > 0)
        m_waitCr = true;
}

QByteArray PicFirmware::takeOutput(qsizetype max) {
    while (m_out.size() < max && mayGenerate())
        generateBlock();
    QByteArray chunk = m_out.left(max);
    m_out.remove(0, chunk.size());
    return chunk;
}

bool PicFirmware::hasOutput() const {
    return !m_out.isEmpty() || mayGenerate();
}
