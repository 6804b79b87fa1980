#include "AdcChip.h"

#include <algorithm>

void AdcChip::setType(Type type) {
    if (type == m_type)
        return;
    m_type = type;
    m_output = std::min(m_output, fullScale());
    m_nextResult = std::min(m_nextResult, fullScale());
}

void AdcChip::clearLog() {
    m_delivered.clear();
    m_sampled.clear();
}

bool AdcChip::dataOut() const {
    if (!m_selected)
        return true;
    if (m_bitIndex < 0)
        return false; // all bits shifted out: the line stays low until deselected
    return (m_output >> m_bitIndex) & 1;
}

void AdcChip::setPins(bool chipSelect, bool clock) {
    const bool csFall = !chipSelect && m_cs;
    const bool csRise = chipSelect && !m_cs;
    const bool clockFall = !clock && m_clock;
    m_cs = chipSelect;
    m_clock = clock;

    if (csFall) {
        m_selected = true;
        m_output = m_nextResult;
        m_bitIndex = bits() - 1;
        m_fallingEdges = 0;
        m_sampleTaken = false;
    }
    if (m_selected && clockFall) {
        ++m_fallingEdges;
        --m_bitIndex;
        // The sample is held from the last clocks of the read: take it when the clock
        // count reaches the converter's word length.
        if (m_fallingEdges == bits() && !m_sampleTaken) {
            const int code = m_input ? std::clamp(m_input(), 0, fullScale()) : 0;
            m_sampled.append(code);
            m_nextResult = code;
            m_sampleTaken = true;
        }
    }
    if (csRise && m_selected) {
        m_selected = false;
        if (!m_sampleTaken) {
            // A read cut short still starts a conversion of the present input.
            const int code = m_input ? std::clamp(m_input(), 0, fullScale()) : 0;
            m_sampled.append(code);
            m_nextResult = code;
        }
        m_delivered.append(m_output);
        if (m_trace)
            m_trace(QStringLiteral("read %1").arg(m_output));
    }
}
