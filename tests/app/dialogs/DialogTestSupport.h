#pragma once
// Shared by the dialog tests: a message seam that records and answers questions, a computer
// with fixed ports, a device that records what the calibration dialogs ask of it, and a
// configuration in a private folder with the context the dialogs receive.
#include "PortScan.h"
#include "SweepConfig.h"
#include "SweepContext.h"
#include "SweepData.h"
#include "SweepDevice.h"
#include "UserMessages.h"

#include <QFile>
#include <QLocale>
#include <QStringList>
#include <QTemporaryDir>
#include <optional>

class AnsweringMessages : public UserMessages {
public:
    void beep() override { ++beeps; }
    void message(const QString& text, QMessageBox::Icon) override { shown.append(text); }
    bool question(const QString&, const QString& text, QMessageBox::Icon) override {
        asked.append(text);
        return answer;
    }
    int beeps = 0;
    QStringList shown;
    QStringList asked;
    bool answer = true;
};

class FixedPorts : public PortScan {
public:
    QList<SerialPortEntry> serialPorts() const override {
        return {{QStringLiteral("/dev/ttyUSB0"), QStringLiteral("FT232R USB UART")}};
    }
    bool serialPortExists(const QString& path) const override {
        return path == QLatin1String("/dev/ttyS0") || path == QLatin1String("/dev/ttyS2") ||
               path == QLatin1String("/dev/ttyUSB0") || path.startsWith(QLatin1String("sim:"));
    }
    QList<ParallelPortEntry> parallelPorts() const override {
        return {{QStringLiteral("parport0"), 0x278}};
    }
};

// Records the calibration calls; answers liveCounts with `counts`.
class RecordingDevice : public SweepDevice {
public:
    RecordingDevice() : SweepDevice("/test", QStringLiteral("test.Device"), QString(), nullptr) {}
    QString caption(const SweepConfig&) const override { return QStringLiteral("test"); }
    QString logPrefix() const override { return QStringLiteral("T> "); }
    QString bind(const SweepConfig&) override { return QString(); }
    bool setUpSweep(const SweepConfig&, qint32) override { return true; }
    void start() override {}
    bool setIdleFrequency(const SweepConfig&) override { return true; }
    void shutdown(const SweepConfig&) override {}
    void setSpeed(qint16 mode) override { speeds.append(mode); }
    void tryFrequencyOffset(double offset, qint32 freqStart) override {
        tried.append(offset);
        retunedTo = freqStart;
    }
    void setFrequencyOffset(double offset) override { restored.append(offset); }
    std::optional<double> liveCounts(qint32, double lastSweepFirst) override {
        lastFirst = lastSweepFirst;
        return counts;
    }

    QList<qint16> speeds;
    QList<double> tried;
    QList<double> restored;
    qint32 retunedTo = 0;
    std::optional<double> counts;
    double lastFirst = -1;

protected:
    void attach(const QDBusConnection&, const QString&) override {}
    void detach() override {}
};

class DialogFixture {
public:
    explicit DialogFixture(const QString& ini = QString()) {
        if (!ini.isNull())
            writeIni(ini);
    }
    QString iniPath() const { return dir.filePath(QStringLiteral("Sweep.ini")); }
    void writeIni(const QString& text) {
        QFile f(iniPath());
        f.open(QIODevice::WriteOnly | QIODevice::Truncate);
        f.write(text.toUtf8());
    }
    QString readIni() const {
        QFile f(iniPath());
        f.open(QIODevice::ReadOnly);
        return QString::fromUtf8(f.readAll());
    }

    QTemporaryDir dir;
    SweepConfig config{iniPath()};
    SweepData data;
    AnsweringMessages messages;
    SweepContext context{config, nullptr, data, messages};
};

// The locale's form of a number written with '.' and ',' as in English.
inline QString localised(QString english) {
    const QLocale l;
    for (QChar& c : english) {
        if (c == QLatin1Char(','))
            c = QChar(0x1);
        else if (c == QLatin1Char('.'))
            c = l.decimalPoint().at(0);
    }
    return english.replace(QChar(0x1), l.groupSeparator());
}
