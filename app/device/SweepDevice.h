#pragma once
// The main window's one device: the object of tarvex chosen by the configured interface
// (cAsyncPIC, cAsyncLPT or cAsyncMiniVNA), behind one interface, so the window asks the device
// instead of switching on the kind of hardware. Each kind is a small class of its own
// (PicSweepDevice, LptSweepDevice, VnaSweepDevice) with its DeviceKind, made once by
// makeSweepDevice; what it can do besides sweeping is its DeviceCapabilities.
//
// The calls go through the device's DeviceLink: they wait for their replies with the window's
// events running, hold the device's events meanwhile and never throw (a failure reads as
// false). After abandonWaits() or release() no call reaches tarvex any more.
#include "DeviceKind.h"
#include "DeviceLink.h"

#include <QObject>
#include <QString>
#include <QStringList>
#include <QVector>
#include <functional>
#include <optional>

class SweepConfig;

class SweepDevice : public QObject {
    Q_OBJECT
public:
    ~SweepDevice() override;

    // --- what the window shows, and what only some kinds of hardware do ---
    const DeviceCapabilities& capabilities() const { return m_kind.capabilities; }
    // The window caption's device part: the DDS name, or "MiniVNA".
    QString caption(const SweepConfig& cfg) const { return m_kind.caption(cfg); }
    // Prefix of the window's own log lines about this device ("P> ", "L> ", "V> ").
    const QString& logPrefix() const { return m_kind.logPrefix; }

    // --- the device's life ---
    // Starts tarvex with args. False: *error says why; the window goes on without hardware.
    bool open(const QStringList& args, QString* error);
    // Opens the port and hands the device the configuration. Returns the message the user
    // must see (empty when all went well).
    virtual QString bind(const SweepConfig& cfg) = 0;
    // Sets up one sweep loop over freqStart + (i - 1) x freqStep. False: the device refused
    // the set-up (its answer, or an error line of code 3 during it); setUpFaults() then holds
    // the device's error lines, and the sweep must not be started.
    virtual bool setUpSweep(const SweepConfig& cfg, qint32 freqStep) = 0;
    // The device's error lines (aErrore code 3) raised during the last setUpSweep.
    const QStringList& setUpFaults() const { return m_link.setUpFaults(); }
    // Starts the loop; the call returns at once and the loop reports through the signals.
    virtual void start() = 0;
    // While idle: the generator to the start frequency. False: the user must be told.
    virtual bool setIdleFrequency(const SweepConfig& cfg) = 0;
    // A running loop takes the new range (only where takesRangeWhileRunning).
    virtual void reinitRange(qint32 freqStart, qint32 freqStep);
    // After the end of a loop.
    virtual void afterComplete(const SweepConfig& cfg);
    // Speed mode for the next sweep (parallel port only); 3 is the converter's reading mode of
    // the detector calibration.
    virtual void setSpeed(qint16 sweepMode);
    // Generator calibration: the offset (Hz) tried, and the generator retuned to freqStart so a
    // frequency meter shows its effect. Nothing happens where the hardware takes no offset.
    void tryFrequencyOffset(double offset, qint32 freqStart);
    // Hands the device an offset without retuning (the stored one, when the calibration ends).
    void setFrequencyOffset(double offset);
    // Detector calibration: the detector's present reading in counts. The parallel port reads
    // its converter three times and averages; the MiniVNA is retuned to freqStart and the first
    // point of the last sweep (lastSweepFirst) stands for it; std::nullopt where the reading
    // cannot be had (the PIC board, a failed call).
    virtual std::optional<double> liveCounts(qint32 freqStart, double lastSweepFirst);
    // Stops the loop and closes the port, as the window's closing does.
    virtual void shutdown(const SweepConfig& cfg) = 0;
    // Commands of the test panel, and the parallel port's auxiliary outputs. Each does what
    // its kind of hardware offers and nothing elsewhere.
    // "Reset": the generator back to 1 MHz. onReset runs between the PIC board's reset and
    // its new frequency, which follows a second later.
    virtual void testReset(const std::function<void()>& onReset);
    // "F.dds" (the generator set to a frequency) and "F.Start" (the start frequency sent; where
    // the hardware has no start of its own, the same): false when the device refused it.
    virtual bool setGeneratorFrequency(qint32 frequency);
    virtual bool testStart(qint32 frequency);
    // "F.Step": only where takesStepCommand.
    virtual bool testStep(qint32 freqStep);
    // The measurement kind, only where takesMeasureKind.
    virtual void setMeasureKind(qint16 kind);
    // Word of auxiliary output n (1 or 2), and the I2C potentiometer's wiper.
    virtual void setAuxWord(int n, quint8 word);
    virtual void setPotentiometer(quint8 control, quint8 command, quint8 position);

    // 4 run, 2 stop requested, 1 end the pass for a restart.
    bool setSweepOn(qint16 value);

    // tarvex runs and the device was not released.
    bool isLive() const { return m_link.isLive(); }
    qint64 serverPid() const { return m_link.serverPid(); }
    // A call is waiting for its reply.
    bool isWaiting() const { return m_link.isWaiting(); }
    // The wait under way ends as a failure and every later call fails at once, until
    // resume(): the window is closing.
    void abandonWaits() { m_link.abandonWaits(); }
    void resume() { m_link.resume(); }
    // Hands on the events held during calls now (the window is closing and wants them).
    void flushEvents() { m_link.flushEvents(); }
    // Disconnects and lets tarvex end; nothing is called after it, no event comes after it.
    void release();

signals:
    void vettore(const QVector<double>& values);
    void complete();
    void errore(qint16 tipoErrore, const QString& descrizione);
    void serverDied(const QString& reason);
    // A call has been waiting longer than DeviceLink::kSlowCallMs (true), or the last such
    // wait ended.
    void waitingChanged(bool waiting);

protected:
    SweepDevice(const DeviceKind& kind, const char* path, const QString& interfaceName,
                const QString& serverProgram, QObject* parent);

    // Makes the proxy of this kind on the connection and forwards its events to link();
    // drops it.
    virtual void attach(const QDBusConnection& connection, const QString& path) = 0;
    virtual void detach() = 0;

    DeviceLink& link() { return m_link; }
    // The binding's message for a serial port that did not open (PIC board and MiniVNA).
    static QString wrongSerialPort(qint16 commPort);

private:
    const DeviceKind& m_kind;
    DeviceLink m_link;
};
