#pragma once
// Client proxy of the credit window of a device object (org.orvane.Tarvex.Flow), generated from the
// interface XML, with the call time-out every device call needs.
#include "FlowProxyBase.h"
#include "TarvexTypes.h"

class FlowProxy : public FlowProxyBase {
public:
    FlowProxy(const QString& service, const QString& path, const QDBusConnection& connection,
              QObject* parent = nullptr)
        : FlowProxyBase(service, path, connection, parent) {
        setTimeout(tarvex::kCallTimeoutMs);
    }
};
