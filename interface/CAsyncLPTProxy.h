#pragma once
// Client proxy of /cAsyncLPT (org.orvane.Tarvex.cAsyncLPT), generated from the interface
// XML, with the call time-out every device call needs.
#include "CAsyncLPTProxyBase.h"
#include "TarvexTypes.h"

class CAsyncLPTProxy : public CAsyncLPTProxyBase {
public:
    CAsyncLPTProxy(const QString& service, const QString& path, const QDBusConnection& connection,
                   QObject* parent = nullptr)
        : CAsyncLPTProxyBase(service, path, connection, parent) {
        setTimeout(tarvex::kCallTimeoutMs);
    }
};
