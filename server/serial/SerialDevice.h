#pragma once
// What the two serial-port devices share: the line they own and the way they open it
// (six attempts, each failure logged with the attempts left, then the system's reason).
#include "DeviceObject.h"
#include "SerialLine.h"

#include <functional>

class SerialDevice : public DeviceObject {
    Q_OBJECT

public:
    static constexpr int kAttempts = 6;

    // Takes ownership of line.
    SerialDevice(const QString& prefix, SerialLine* line, QObject* parent);

    SerialLine* line() const { return m_line; }

protected:
    // Calls openOnce until it succeeds (logs "COMMport inizializzata", true) or kAttempts
    // have failed (each logged as "<left> Numero COMMport (<porta>) errato", code 3; after the
    // last one the line's reason and remedy, code 3; false).
    bool openWithRetries(short porta, const std::function<bool()>& openOnce);

    SerialLine* m_line;
};
