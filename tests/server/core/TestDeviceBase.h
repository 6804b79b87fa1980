#pragma once
// The devices of tarvex-testserver: sweep loops on the framework, without hardware. Each
// pass waits passMs milliseconds (serving calls), then raises aVettore with the pass number
// in the samples, so a client can tell the vectors apart and see none is lost.
#include "DeviceObject.h"

class TestDeviceBase : public DeviceObject {
    Q_OBJECT

public:
    using DeviceObject::DeviceObject;

    void Runnable_Start() override;

    void setPassMs(int ms) { m_passMs = ms; }
    virtual int passMs() const { return m_passMs; }
    // The next pass throws, as a run-time error escaping the loop would.
    void failNextPass() { m_failNext = true; }

    // Sample k (1..400) of pass p.
    static int sample(int pass, int k) { return (pass * 7 + k) % 1024; }

protected:
    virtual void startLog() { log(QStringLiteral("avvio ciclo di sweep")); }
    virtual void sendVector(int pass) = 0;
    void start() { requestStart(); }

private:
    int m_passes = 0;
    int m_passMs = 0;
    bool m_failNext = false;
};
