#pragma once
// How this fits: every device class of tarvex (cAsyncPIC, cAsyncLPT, cAsyncMiniVNA)
// derives from DeviceObject. The generated D-Bus adaptor of its interface forwards
// calls and property accesses to it by member name, so the exported members are
// declared with the adaptor's C++ types: Integer short, Long int, Double double,
// Byte uchar, Boolean bool, String QString. Signals aComplete and aErrore live here;
// each class declares its own aVettore (QList<qint16> or QList<double>).
//
// The sweep loop (Runnable_Start) runs inside the start queue's 1 ms timer callback on
// the server's one thread; it yields with yieldEvents() (or waits with sleepServing()),
// which is where calls from the client (a stop request through aSweepON, a
// single-frequency call) are served re-entrantly.
//
// A typical loop:
//     log("avvio ciclo di sweep");
//     setMySweepON(kRunning);
//     while (mySweepON() > kStopRequested) {
//         ... acquire one sweep, calling yieldEvents() between points ...
//         sendVector(&cAsyncXxx::aVettore, samples); // waits for credit, emits, counts it
//     }
//     endLoop();              // state 0, "fine ciclo sweep", aComplete, busy flag cleared
#include "SweepContract.h"

#include <QObject>
#include <QString>
#include <functional>

class DeviceObject : public QObject {
    Q_OBJECT
    Q_PROPERTY(short mySweepON READ mySweepON WRITE setMySweepON)
    Q_PROPERTY(short aSweepON READ aSweepON WRITE setASweepON)
    Q_PROPERTY(short mySlowCPU READ mySlowCPU WRITE setMySlowCPU)

public:
    // The shared sweep state codes, by the names the device classes use: a loop runs while
    // the state is above kStopRequested.
    static constexpr short kRunning = SweepState::kRunning;
    static constexpr short kStopRequested = SweepState::kStopRequested;
    static constexpr short kStopped = SweepState::kStopped;

    // prefix: "P> ", "L> " or "V> ", the start of every aErrore text of this device.
    explicit DeviceObject(const QString& prefix, QObject* parent = nullptr);
    ~DeviceObject() override;

    const QString& prefix() const { return m_prefix; }

    short mySweepON() const { return m_sweepOn; }
    void setMySweepON(short v) { m_sweepOn = v; }
    short aSweepON() const { return m_sweepOn; }
    void setASweepON(short v) { m_sweepOn = v; }
    short mySlowCPU() const { return m_slowCpu; }
    void setMySlowCPU(short v) { m_slowCpu = v; }

    // Set when a start request is accepted, cleared as the very last step of the loop.
    bool inEsecuzione() const { return m_busy; }

    // The sweep loop body; run only by the start queue.
    virtual void Runnable_Start() = 0;

    // Called by the start queue when an exception escaped Runnable_Start: ends the loop as a
    // normal end would (state 0, end log line, aComplete, busy flag cleared). The default
    // logs the failure with code 3 first, then the end log line "fine ciclo sweep". When the
    // loop had already ended (busy flag clear) only the failure is logged.
    virtual void endAfterFailure(const QString& what);

    // The external lock of the start queue: a queued or running object is kept alive.
    void lockExternal() { ++m_locks; }
    void unlockExternal();
    bool isLocked() const { return m_locks > 0; }
    // Drops the owner's reference: deletes the object at once when it is not locked,
    // otherwise as soon as its loop has ended and the lock is released.
    void release();

    // The client has gone: a running loop is asked to stop and queued loops never start.
    void peerGone();
    bool isPeerGone() const { return m_peerGone; }

    // Ends the whole server process (aExitCOMM). Replaceable by the server (to deliver the
    // pending events first) and by in-process tests.
    static void setExitHandler(std::function<void()> handler);
    static void endServerProcess();

public Q_SLOTS:
    // org.orvane.Tarvex.Flow: opt-in credit window for aVettore.
    void SetVectorWindow(int window);
    void AckVettore();

Q_SIGNALS:
    void aComplete();
    void aErrore(short tipoErrore, const QString& descrizione);

protected:
    // The body of Start / aStartLPT: refuses with code 3 "<prefix>Sweep già in esecuzione"
    // while busy, else sets the busy flag and queues the object. Returns at once.
    void requestStart();

    // aErrore(code, prefix + text); code is one of ErrorCode.
    void raise(short code, const QString& text);
    void log(const QString& text) { raise(ErrorCode::kLog, text); }
    void reportError(const QString& text) { raise(ErrorCode::kError, text); }

    // Serves pending calls and events once (never blocks).
    void yieldEvents();
    // Waits ms milliseconds while serving calls and events (no busy spin).
    void sleepServing(int ms);

    // Before emitting aVettore: waits (serving calls) while the client's credit window is
    // full. Returns early when the sweep state drops to 2 or below or the client is gone:
    // the acquisition under way is still sent, so after a stop request the window may be
    // exceeded by that one vector.
    void waitForVectorCredit();
    // After emitting aVettore.
    void noteVectorSent();
    // Vectors sent and not yet acknowledged (0 without a window).
    int unackedVectors() const { return m_unacked; }

    // Sends one sweep: waits for the client's credit, raises the class's own aVettore with
    // vector, counts it. Every loop sends its vectors through here.
    template <class Device, class Vector>
    void sendVector(void (Device::*aVettore)(const Vector&), const Vector& vector) {
        waitForVectorCredit();
        emit(static_cast<Device*>(this)->*aVettore)(vector);
        noteVectorSent();
    }

    // Clears the busy flag: the very last step of every loop.
    void clearBusy() { m_busy = false; }

    // When a loop's end sets the sweep state to 0: before the end log line (the serial
    // devices, and every refused or failed loop), or only after aComplete (the parallel
    // port's loop, so a handler of aComplete still reads the state the loop left with).
    enum class StateAtEnd { StoppedFirst, StoppedAfterComplete };

    // The end of every loop: state 0, "fine ciclo sweep", aComplete, busy flag cleared as
    // the very last step.
    void endLoop(StateAtEnd when = StateAtEnd::StoppedFirst);

private:
    friend class StartQueue;

    QString m_prefix;
    short m_sweepOn = 0;
    short m_slowCpu = 0;
    bool m_busy = false;
    bool m_peerGone = false;
    bool m_released = false;
    int m_locks = 0;
    int m_window = 0; // 0 = no flow control
    int m_unacked = 0;
};
