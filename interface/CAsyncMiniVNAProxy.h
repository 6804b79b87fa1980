#pragma once
// Client proxy of /cAsyncMiniVNA (org.orvane.Tarvex.cAsyncMiniVNA), generated from the interface
// XML, with the call time-out every device call needs.
#include "CAsyncMiniVNAProxyBase.h"
#include "TarvexTypes.h"

class CAsyncMiniVNAProxy : public CAsyncMiniVNAProxyBase {
public:
    CAsyncMiniVNAProxy(const QString& service, const QString& path,
                       const QDBusConnection& connection, QObject* parent = nullptr)
        : CAsyncMiniVNAProxyBase(service, path, connection, parent) {
        setTimeout(tarvex::kCallTimeoutMs);
    }
};
