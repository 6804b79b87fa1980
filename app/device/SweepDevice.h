#pragma once
// The main window's one device: the object of tarvex chosen by the configured interface
// (cAsyncPIC, cAsyncLPT or cAsyncMiniVNA), behind one interface, so the window asks the device
// instead of switching on the kind of hardware. Each kind is a small class of its own
// (PicSweepDevice, LptSweepDevice, VnaSweepDevice), made once by makeSweepDevice.
//
// Every call waits for its reply with the window's events running: the window keeps
// painting and can be closed while the hardware answers slowly (a silent PIC board makes a
// command retry for seconds). The device's own events (sweeps, end of loop, log lines) that
// arrive during a call are held and handed on, in order, once the call has returned and the
// window's handler has run to its end, as with a call that blocks. Calls never throw: a D-Bus
// error, a dead server or a time-out reads as failure. After abandonWaits() or release() no
// call reaches tarvex any more.
#include <QDBusConnection>
#include <QDBusPendingCall>
#include <QDBusPendingReply>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVector>
#include <functional>
#include <optional>

class FlowProxy;
class SweepConfig;
class TarvexLauncher;

class SweepDevice : public QObject {
    Q_OBJECT
public:
    // How many sweeps tarvex may send ahead of the window's acknowledgements.
    static constexpr int kVectorWindow = 2;
    // A call that has not answered after this long (ms) shows the window as waiting.
    static constexpr int kSlowCallMs = 300;

    ~SweepDevice() override;

    // --- what the window shows, and what only some kinds of hardware do ---
    // The window caption's device part: the DDS name, or "MiniVNA".
    virtual QString caption(const SweepConfig& cfg) const = 0;
    // Prefix of the window's own log lines about this device ("P> ", "L> ", "V> ").
    virtual QString logPrefix() const = 0;
    // The parallel port: speed modes and the auxiliary outputs.
    virtual bool hasSpeedAndAux() const { return false; }
    // Retry warnings (code 1) go to the error counter instead of the log.
    virtual bool countsRetryWarnings() const { return true; }
    // The stored reading is 1024 minus the received one (MiniVNA measuring the DUT).
    virtual bool invertsReadings(qint16 adcChannel) const;
    // A running sweep takes a new range in place; otherwise it is stopped and started again.
    virtual bool takesRangeWhileRunning() const { return false; }

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
    const QStringList& setUpFaults() const { return m_setUpFaults; }
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
    // The generator takes a frequency offset (aDDSoffset): the parallel port and the MiniVNA.
    virtual bool takesFrequencyOffset() const { return false; }
    // Generator calibration: the offset (Hz) tried, and the generator retuned to freqStart so a
    // frequency meter shows its effect. Nothing happens where the hardware takes no offset.
    virtual void tryFrequencyOffset(double offset, qint32 freqStart);
    // Hands the device an offset without retuning (the stored one, when the calibration ends).
    virtual void setFrequencyOffset(double offset);
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
    // "F.Step": only the PIC board takes a step of its own.
    virtual bool takesStepCommand() const { return false; }
    virtual bool testStep(qint32 freqStep);
    // The MiniVNA's measurement kind (1 angle, 2 return loss, 3 device under test).
    virtual bool takesMeasureKind() const { return false; }
    virtual void setMeasureKind(qint16 kind);
    // Word of auxiliary output n (1 or 2), and the I2C potentiometer's wiper.
    virtual void setAuxWord(int n, quint8 word);
    virtual void setPotentiometer(quint8 control, quint8 command, quint8 position);

    // 4 run, 2 stop requested, 1 end the pass for a restart.
    bool setSweepOn(qint16 value);

    // tarvex runs and the device was not released.
    bool isLive() const;
    qint64 serverPid() const;
    // A call is waiting for its reply.
    bool isWaiting() const { return m_waits > 0; }
    // The wait under way ends as a failure and every later call fails at once, until
    // resume(): the window is closing.
    void abandonWaits();
    void resume();
    // Hands on the events held during calls now (the window is closing and wants them).
    void flushEvents();
    // Disconnects and lets tarvex end; nothing is called after it, no event comes after it.
    void release();

signals:
    void vettore(const QVector<double>& values);
    void complete();
    void errore(qint16 tipoErrore, const QString& descrizione);
    void serverDied(const QString& reason);
    // A call has been waiting longer than kSlowCallMs (true), or the last such wait ended.
    void waitingChanged(bool waiting);
    void waitsAbandoned();

protected:
    SweepDevice(const char* path, const QString& interfaceName, const QString& serverProgram,
                QObject* parent);

    // Makes the proxy of this kind on the connection and forwards its events; drops it.
    virtual void attach(const QDBusConnection& connection, const QString& path) = 0;
    virtual void detach() = 0;
    // Deletes a proxy once the events already queued for it have been handed out.
    static void dispose(QObject* proxy);

    bool ready() const;
    // Waits for the reply (events running); true when it came and is not an error.
    bool await(const QDBusPendingCall& call);
    // The same, and the reply is true.
    bool awaitTrue(const QDBusPendingReply<bool>& reply);
    // A call on the proxy, made only while the device is ready (the proxy exists and the
    // waits were not abandoned): make() issues it. Failure otherwise, nothing sent.
    template <typename Make> bool call(Make&& make) { return ready() && await(make()); }
    template <typename Make> bool callTrue(Make&& make) { return ready() && awaitTrue(make()); }
    // A call after which tarvex ends (aExitCOMM): its end is expected, not a death.
    template <typename Make> void callEndingServer(Make&& make) {
        if (!ready())
            return;
        expectServerExit();
        await(make());
    }
    // Writes a property of the object; false when refused or failed.
    bool setProp(const char* name, const QVariant& value);
    // A pause of ms milliseconds that keeps the window painting, counted as a device wait.
    void pause(int ms);
    // The events of the proxy: a received sweep is acknowledged to the server's credit window
    // at once; all three are handed on in order, held while a call waits.
    void deliver(const QVector<double>& values);
    void deliverComplete();
    void deliverErrore(qint16 tipoErrore, const QString& descrizione);
    // The binding's message for a serial port that did not open (PIC board and MiniVNA).
    static QString wrongSerialPort(qint16 commPort);
    // Around the calls of setUpSweep: the device's error lines are collected from beginSetUp
    // on; endSetUp picks up those still queued behind the last reply of proxy and returns true
    // when there were none.
    void beginSetUp();
    bool endSetUp(QObject* proxy);

private:
    void expectServerExit();
    void hand(std::function<void()> event);
    void replay();
    void endWait();

    TarvexLauncher* m_launcher;
    FlowProxy* m_flow = nullptr;
    QString m_path;
    QString m_interface;
    bool m_attached = false;
    bool m_failFast = false;
    int m_waits = 0;
    int m_slowWaits = 0;
    QList<std::function<void()>> m_held;
    QStringList m_setUpFaults;
    bool m_collectingFaults = false;
    bool m_replayPosted = false;
};
