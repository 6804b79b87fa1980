#include "VnaFirmware.h"

#include "DutModel.h"

#include <cmath>

namespace {
constexpr int kFullScale = 1023;

void appendReading(QByteArray& out, int value) {
    out.append(static_cast<char>(value & 0xff));
    out.append(static_cast<char>(value >> 8));
}
} // namespace

VnaFirmware::VnaFirmware(std::unique_ptr<DutModel> dut, double refClockHz)
    : m_dut(std::move(dut)), m_refClock(refClockHz) {}

VnaFirmware::~VnaFirmware() = default;

void VnaFirmware::hostBytes(const QByteArray& bytes) {
    for (char c : bytes) {
        if (c == '\n')
            continue;
        if (c != '\r') {
            if (m_line.size() < 32)
                m_line.append(c);
            continue;
        }
        bool ok = false;
        const qint64 v = m_line.trimmed().toLongLong(&ok);
        m_line.clear();
        if (!ok) {
            m_values.clear(); // a garbled line: start over with the next request
            continue;
        }
        m_values.append(v);
        if (m_values.size() == 4) {
            handleRequest();
            m_values.clear();
        }
    }
}

void VnaFirmware::handleRequest() {
    const qint64 mode = m_values[0];
    const auto start = static_cast<quint32>(m_values[1]);
    const qint64 count = m_values[2];
    const auto step = static_cast<quint32>(m_values[3]);
    const QString entry =
        QStringLiteral("%1 %2 %3 %4").arg(mode).arg(m_values[1]).arg(count).arg(m_values[3]);
    traceLine(entry);
    m_log.append(entry);
    ++m_requests;
    if (count < 0 || count > kMaxCount || fault(FirmwareFault::NoReply))
        return;
    QByteArray records;
    records.reserve(count * 4 + 1);
    if (fault(FirmwareFault::Stray))
        records.append('\x55');
    for (qint64 k = 0; k < count; ++k) {
        const quint32 word = start + static_cast<quint32>(k) * step; // the DDS accumulates mod 2^32
        const double f = std::ldexp(static_cast<double>(word), -32) * m_refClock;
        int phase = m_dut->phaseCode(f, kFullScale);
        int mag = m_dut->code(f, kFullScale);
        if (fault(FirmwareFault::Overflow) && k == 0)
            phase = mag = 0x400; // high byte 4: not a 10-bit reading
        appendReading(records, phase);
        appendReading(records, mag);
    }
    if (fault(FirmwareFault::Truncate) && !m_truncated) {
        records.chop(1); // one response only, so the line recovers afterwards
        m_truncated = true;
    }
    m_out.append(records);
}

QByteArray VnaFirmware::takeOutput(qsizetype max) {
    QByteArray chunk = m_out.left(max);
    m_out.remove(0, chunk.size());
    return chunk;
}
