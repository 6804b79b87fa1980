// tarvex-testserver: the tarvex program serving the test devices, for cross-process tests
// and the IPC benchmark.
#include "TarvexServer.h"
#include "TestLptDevice.h"
#include "TestPicDevice.h"
#include "TestVnaDevice.h"

int main(int argc, char** argv) {
    DeviceFactories f;
    // Paced at 2 ms per pass, so a client keeps up without a credit window; the PIC's
    // pace is its mySlowCPU, which a client may set to 0 for an unpaced loop.
    f.pic = [](const ServerOptions&, QObject* parent) {
        auto* d = new TestPicDevice(parent);
        d->setMySlowCPU(2);
        return d;
    };
    f.lpt = [](const ServerOptions&, QObject* parent) {
        auto* d = new TestLptDevice(parent);
        d->setPassMs(2);
        return d;
    };
    f.vna = [](const ServerOptions&, QObject* parent) {
        auto* d = new TestVnaDevice(parent);
        d->setPassMs(2);
        return d;
    };
    return runTarvex(argc, argv, f);
}
