#include "TarvexTypes.h"

#include <QDBusMetaType>
#include <QMetaType>

namespace tarvex {

void registerTypes() {
    static const bool done = [] {
        qRegisterMetaType<QList<qint16>>("QList<qint16>");
        qRegisterMetaType<QList<double>>("QList<double>");
        qDBusRegisterMetaType<QList<qint16>>();
        qDBusRegisterMetaType<QList<double>>();
        return true;
    }();
    (void)done;
}

} // namespace tarvex
