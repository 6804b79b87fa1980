// tarvex: the device server. See TarvexServer.h for the command line and the lifecycle.
#include "DeviceFactories.h"
#include "TarvexServer.h"

int main(int argc, char** argv) {
    return runTarvex(argc, argv,
                     DeviceFactories{createPicDevice, createLptDevice, createVnaDevice});
}
