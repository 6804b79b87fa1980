#include "DdsChip.h"

#include <QStringList>

namespace {
constexpr double kTwo32 = 4294967296.0;

// Register widths of the AD9951 serial port, by address (0 = unknown register).
int ad9951RegisterBytes(uint8_t address) {
    switch (address) {
    case 0x00:
        return 4; // CFR1
    case 0x01:
        return 3; // CFR2
    case 0x02:
        return 2; // ASF
    case 0x03:
        return 1; // ARR
    case 0x04:
        return 4; // FTW0
    case 0x05:
        return 2; // POW0
    default:
        return 0;
    }
}
QString hertz(double hz) {
    return QString::number(hz, 'f', 3) + QStringLiteral(" Hz");
}

QString describe(const DdsChip::Record& r) {
    using Kind = DdsChip::Record::Kind;
    switch (r.kind) {
    case Kind::Reset:
        return QStringLiteral("reset");
    case Kind::Load:
        return QStringLiteral("load %1 control 0x%2 bits %3 -> %4")
            .arg(r.word)
            .arg(traceHex(r.control))
            .arg(r.bits)
            .arg(hertz(r.outputHz));
    case Kind::Register: {
        QStringList bytes;
        for (uint8_t b : r.bytes)
            bytes << traceHex(b);
        return QStringLiteral("register %1 = %2").arg(r.address).arg(bytes.join(QLatin1Char(' ')));
    }
    case Kind::Update:
        return QStringLiteral("update %1 -> %2").arg(r.word).arg(hertz(r.outputHz));
    }
    return QString();
}
} // namespace

DdsChip::Type DdsChip::typeFromName(const QString& name) {
    if (name == QLatin1String("AD9951"))
        return Type::AD9951;
    if (name == QLatin1String("AD9851"))
        return Type::AD9851;
    return Type::AD9850;
}

void DdsChip::setType(Type type) {
    if (type == m_type)
        return;
    m_type = type;
    resetChip();
}

void DdsChip::clearLog() {
    m_log.clear();
    m_bytes.clear();
}

double DdsChip::systemClock() const {
    switch (m_type) {
    case Type::AD9850:
        return m_refClockHz;
    case Type::AD9851:
        return m_sixTimes ? 6.0 * m_refClockHz : m_refClockHz;
    case Type::AD9951: {
        // CFR2 bits 7..3: reference multiplier; values below 4 bypass it.
        const int mult = static_cast<int>((m_cfr2 >> 3) & 0x1F);
        return mult >= 4 ? mult * m_refClockHz : m_refClockHz;
    }
    }
    return m_refClockHz;
}

double DdsChip::outputHz() const {
    return m_activeWord * systemClock() / kTwo32;
}

void DdsChip::setPins(bool data, bool wclk, bool fqud, bool reset) {
    const bool resetRise = reset && !m_reset;
    const bool clockRise = wclk && !m_wclk;
    const bool updateRise = fqud && !m_fqud;
    m_data = data;
    m_wclk = wclk;
    m_fqud = fqud;
    m_reset = reset;
    if (resetRise) {
        resetChip();
        Record r;
        r.kind = Record::Kind::Reset;
        record(r);
    }
    if (reset)
        return; // the serial port ignores its pins while reset is held
    if (clockRise)
        risingClock(data);
    if (updateRise)
        update();
}

void DdsChip::resetChip() {
    m_shift = 0;
    m_bitCount = 0;
    m_activeWord = 0;
    m_sixTimes = false;
    m_byte = 0;
    m_byteBits = 0;
    m_haveInstruction = false;
    m_regBytes.clear();
    m_bufferFtw = 0;
    m_bufferCfr2 = 0;
    m_cfr2 = 0;
    m_byteOfLoad = 0;
    m_lsbByte = 0;
}

void DdsChip::risingClock(bool data) {
    if (m_type != Type::AD9951) {
        // 40-bit register loaded least significant bit first: each bit enters at the top.
        m_shift = (m_shift >> 1) | (static_cast<uint64_t>(data) << 39);
        ++m_bitCount;
        m_lsbByte = static_cast<uint8_t>(m_lsbByte | (data ? 1u << m_byteOfLoad : 0u));
        if (++m_byteOfLoad == 8) {
            m_bytes.append(m_lsbByte);
            m_byteOfLoad = 0;
            m_lsbByte = 0;
        }
        return;
    }
    m_byte = static_cast<uint8_t>((m_byte << 1) | (data ? 1 : 0));
    if (++m_byteBits < 8)
        return;
    const uint8_t b = m_byte;
    m_byte = 0;
    m_byteBits = 0;
    m_bytes.append(b);
    if (!m_haveInstruction) {
        m_haveInstruction = true;
        m_address = b & 0x1F; // bit 7 = read, bits 4..0 = address; reads are not modelled
        m_regBytes.clear();
        if (ad9951RegisterBytes(m_address) == 0)
            m_haveInstruction = false;
        return;
    }
    m_regBytes.append(b);
    if (m_regBytes.size() == ad9951RegisterBytes(m_address))
        finishAd9951Register();
}

void DdsChip::finishAd9951Register() {
    uint32_t value = 0;
    for (uint8_t b : m_regBytes)
        value = (value << 8) | b;
    if (m_address == 0x04)
        m_bufferFtw = value;
    else if (m_address == 0x01)
        m_bufferCfr2 = value;
    Record r;
    r.kind = Record::Kind::Register;
    r.address = m_address;
    r.bytes = m_regBytes;
    m_haveInstruction = false;
    m_regBytes.clear();
    record(r);
}

void DdsChip::update() {
    Record r;
    if (m_type == Type::AD9951) {
        // I/O update: buffered registers become active.
        m_activeWord = m_bufferFtw;
        m_cfr2 = m_bufferCfr2;
        r.kind = Record::Kind::Update;
        r.word = m_activeWord;
        record(r);
        return;
    }
    // FQ_UD: the 40-bit register becomes active and the bit pointer starts over.
    const uint64_t value = m_bitCount >= 40 ? m_shift : m_shift >> (40 - m_bitCount);
    r.kind = Record::Kind::Load;
    r.bits = m_bitCount;
    r.word = static_cast<uint32_t>(value & 0xFFFFFFFFu);
    r.control = static_cast<uint8_t>((value >> 32) & 0xFF);
    if (m_bitCount > 0) {
        m_activeWord = r.word;
        // Control bit 32 is the AD9851's 6x reference multiplier; a factory test bit that
        // must stay 0 on the AD9850, which ignores it here.
        m_sixTimes = m_type == Type::AD9851 && (r.control & 0x01);
    }
    m_shift = 0;
    m_bitCount = 0;
    m_byteOfLoad = 0;
    m_lsbByte = 0;
    if (r.bits > 0)
        record(r);
}

void DdsChip::record(Record r) {
    r.outputHz = outputHz();
    if (m_trace)
        m_trace(describe(r));
    m_log.append(std::move(r));
}
