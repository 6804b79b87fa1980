// The serial devices as tarvex serves them: each with its line, its class adaptor and the
// Flow adaptor (credit window for aVettore).
#include "DeviceFactories.h"
#include "FlowAdaptor.h"
#include "SerialLine.h"
#include "cAsyncMiniVNA.h"
#include "cAsyncMiniVNAAdaptor.h"
#include "cAsyncPIC.h"
#include "cAsyncPICAdaptor.h"

DeviceObject* createPicDevice(const ServerOptions& options, QObject* parent) {
    auto* device = new cAsyncPIC(new SerialLine(options), parent);
    new CAsyncPICAdaptor(device);
    new FlowAdaptor(device);
    return device;
}

DeviceObject* createVnaDevice(const ServerOptions& options, QObject* parent) {
    auto* device = new cAsyncMiniVNA(new SerialLine(options), parent);
    new CAsyncMiniVNAAdaptor(device);
    new FlowAdaptor(device);
    return device;
}
