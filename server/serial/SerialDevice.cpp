#include "SerialDevice.h"

SerialDevice::SerialDevice(const QString& prefix, SerialLine* line, QObject* parent)
    : DeviceObject(prefix, parent), m_line(line) {
    m_line->setParent(this);
}

bool SerialDevice::openWithRetries(short porta, const std::function<bool()>& openOnce) {
    int left = kAttempts;
    for (;;) {
        if (openOnce()) {
            log(QStringLiteral("COMMport inizializzata"));
            return true;
        }
        --left;
        const QString reason = m_line->lastError();
        m_line->setPortOpen(false);
        reportError(QStringLiteral("%1 Numero COMMport (%2) errato").arg(left).arg(porta));
        if (left == 0) {
            reportError(reason);
            return false;
        }
    }
}
