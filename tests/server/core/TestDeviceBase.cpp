#include "TestDeviceBase.h"

#include <stdexcept>

void TestDeviceBase::Runnable_Start() {
    startLog();
    setMySweepON(kRunning);
    while (mySweepON() > kStopRequested) {
        sleepServing(passMs());
        if (m_failNext) {
            m_failNext = false;
            throw std::runtime_error("errore di prova nel ciclo");
        }
        ++m_passes;
        waitForVectorCredit();
        sendVector(m_passes);
        noteVectorSent();
    }
    endLoop();
}
