// The parallel-port device served at /cAsyncLPT, with the port backend chosen by
// --lpt-driver.
#include "DeviceFactories.h"
#include "DeviceObject.h"
#include "FlowAdaptor.h"
#include "PortIo.h"
#include "cAsyncLPT.h"
#include "cAsyncLPTAdaptor.h"

DeviceObject* createLptDevice(const ServerOptions& options, QObject* parent) {
    auto* obj = new cAsyncLPT(PortIo::create(options), options.lptDriver, parent);
    new CAsyncLPTAdaptor(obj);
    new FlowAdaptor(obj);
    return obj;
}
