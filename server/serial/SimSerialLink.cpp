#include "SimSerialLink.h"

#include "FirmwareModel.h"

#include <algorithm>

namespace {
constexpr int kBaud = 115200;
// What a port's receive buffer holds; a model that runs ahead of an idle host loses the
// rest, as a UART overrun would. Unpaced models are pulled only up to this much.
constexpr qsizetype kBufferLimit = 65536;
} // namespace

SimSerialLink::SimSerialLink(std::unique_ptr<FirmwareModel> model, bool paced)
    : m_model(std::move(model)), m_pacer(paced ? WirePacer::byteRateOfBaud(kBaud) : 0.0) {
    m_model->traceLine(QStringLiteral("port open"));
}

SimSerialLink::~SimSerialLink() {
    m_model->traceLine(QStringLiteral("port closed"));
}

bool SimSerialLink::write(const QByteArray& bytes) {
    if (m_unplugged)
        return false;
    const bool had = m_model->hasOutput();
    m_pacer.hostSent(bytes.size());
    m_model->hostBytes(bytes);
    if (!had && m_model->hasOutput())
        m_pacer.outputStarted();
    return true;
}

void SimSerialLink::setUnplugged(bool unplugged) {
    if (unplugged == m_unplugged)
        return;
    m_unplugged = unplugged;
    m_model->traceLine(unplugged ? QStringLiteral("unplugged") : QStringLiteral("plugged in"));
}

void SimSerialLink::pump(QByteArray& buffer) {
    if (m_unplugged || !m_model->hasOutput())
        return;
    const qsizetype room = std::max<qsizetype>(0, kBufferLimit - buffer.size());
    if (!m_pacer.paced()) {
        buffer.append(m_model->takeOutput(room));
        return;
    }
    const qsizetype due = m_pacer.allowance();
    if (due <= 0)
        return;
    const QByteArray chunk = m_model->takeOutput(std::min(due, room));
    buffer.append(chunk);
    if (due > room)
        m_model->takeOutput(due - room); // overrun: lost on the line
    m_pacer.delivered(due > room ? due : chunk.size());
}

double SimSerialLink::msUntil(qsizetype n) const {
    if (!m_model->hasOutput())
        return -1.0;
    return m_pacer.msUntil(n);
}
