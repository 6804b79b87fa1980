#pragma once
// The factories of the three real device classes, defined by server/lpt and server/serial.
#include "ServerOptions.h"

DeviceObject* createPicDevice(const ServerOptions& options, QObject* parent);
DeviceObject* createLptDevice(const ServerOptions& options, QObject* parent);
DeviceObject* createVnaDevice(const ServerOptions& options, QObject* parent);
