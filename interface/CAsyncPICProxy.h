#pragma once
// Client proxy of /cAsyncPIC (org.orvane.Tarvex.cAsyncPIC), generated from the interface
// XML, with the call time-out every device call needs.
#include "CAsyncPICProxyBase.h"
#include "TarvexTypes.h"

class CAsyncPICProxy : public CAsyncPICProxyBase {
public:
    CAsyncPICProxy(const QString& service, const QString& path, const QDBusConnection& connection,
                   QObject* parent = nullptr)
        : CAsyncPICProxyBase(service, path, connection, parent) {
        setTimeout(tarvex::kCallTimeoutMs);
    }
};
