#pragma once
// What the setup dialog learns about the computer's ports: the serial ports the system has
// (USB adapters included), whether a serial device path can be used, and the parallel ports
// the kernel knows with their base addresses. Tests replace it to show a fixed computer.
#include <QList>
#include <QString>

struct SerialPortEntry {
    QString path;        // /dev/ttyUSB0
    QString description; // "FT232R USB UART (FTDI)"; may be empty
};

struct ParallelPortEntry {
    QString name; // parport0
    int base = 0; // base I/O address (888 = 0x378)
};

class PortScan {
public:
    virtual ~PortScan() = default;
    // QSerialPortInfo's ports, in the system's order.
    virtual QList<SerialPortEntry> serialPorts() const;
    // A simulated port ("sim:..."), a port the system lists, or a terminal device that opens
    // and answers as a serial line.
    virtual bool serialPortExists(const QString& path) const;
    // The ports under /proc/sys/dev/parport.
    virtual QList<ParallelPortEntry> parallelPorts() const;

    // The parport folders under procDir (each with a base-addr file "888\t1912"), by name.
    static QList<ParallelPortEntry> parallelPortsIn(const QString& procDir);
};
