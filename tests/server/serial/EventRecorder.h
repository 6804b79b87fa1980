#pragma once
// Records a device's events in order: "0:P> text" for aErrore, "V" for aVettore, "C" for
// aComplete, with the vectors kept aside. An optional hook runs on each vector, inside the
// device's loop, as a client's handler would.
#include <QList>
#include <QObject>
#include <QStringList>
#include <functional>

class EventRecorder {
public:
    template <typename Device, typename Sample>
    void attach(Device* device, QList<QList<Sample>>* vectors) {
        QObject::connect(device, &Device::aErrore, device, [this](short code, const QString& text) {
            events << QString::number(code) + QLatin1Char(':') + text;
        });
        QObject::connect(device, &Device::aComplete, device,
                         [this] { events << QStringLiteral("C"); });
        QObject::connect(device, &Device::aVettore, device,
                         [this, vectors](const QList<Sample>& v) {
                             events << QStringLiteral("V");
                             vectors->append(v);
                             if (onVector)
                                 onVector(vectors->size());
                         });
    }

    QStringList withCode(int code) const {
        QStringList out;
        for (const QString& e : events)
            if (e.startsWith(QString::number(code) + QLatin1Char(':')))
                out << e;
        return out;
    }
    bool completed() const { return events.contains(QStringLiteral("C")); }
    // What the log shows when a test fails.
    QString dump() const { return events.mid(0, 40).join(QLatin1Char('\n')); }

    QStringList events;
    std::function<void(int count)> onVector;
};
