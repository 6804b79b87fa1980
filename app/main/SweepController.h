#pragma once
// Sweep control of the main window, without widgets: the sweep state statoSweep, "Sweep ON"
// and "Sweep OFF", the step for the 400 points, the start of a sweep on the device with the
// bounded wait for the end of the previous one, the re-apply of an edited range (500 ms after
// the last edit) and the redraw 100 ms after each received sweep, and the device's events.
// The window follows it through the signals; the device is asked, never switched on.
#include "SweepAverager.h"
#include "SweepContract.h"

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QVector>

class QTimer;
class SweepConfig;
class SweepData;
class SweepDevice;
class UserMessages;

class SweepController : public QObject {
    Q_OBJECT
public:
    // stopWaitMs: longest wait for the end of a previous sweep before "Sweep ON" gives up.
    SweepController(SweepConfig& config, SweepData* data, UserMessages& messages, int stopWaitMs,
                    QObject* parent);

    // The device events reach the controller from here on; null: no hardware.
    void setDevice(SweepDevice* device);
    SweepDevice* device() const { return m_device; }

    qint16 statoSweep() const { return m_statoSweep; }
    qint32 freqStep() const { return m_freqStep; }
    QTimer* updateTimer() const { return timerUpdateSweep; }
    QTimer* graphTimer() const { return timerGrafico; }

    // "Sweep ON". Pressed while another device call waits for its reply, it is carried out once
    // that call has returned (unless a sweep began or "Sweep OFF" came meanwhile).
    void cmdStart_Click();
    void cmdStop_Click();
    // The generator was reset by hand: no sweep is under way any more.
    void resetState() { m_statoSweep = SweepState::kStopped; }
    void calcolaStep();
    void aggiornaLblFrequenza();
    void timerUpdateSweep_Timer();
    void timerGrafico_Timer();
    void optSpeed_Click(int index);
    // A frequency or marker edit: the range is re-applied 500 ms after the last one.
    void restartUpdateTimer();
    // "Average": each point the mean of its readings over the last `sweeps` sweeps (1: off),
    // started again with every new range and every start.
    void setAveraging(int sweeps);
    int averaging() const { return m_averager.count(); }
    // One finished pass as the device delivered it (elements 1..400 are the points).
    void datiDDS(const QVector<double>& vettore);
    void onComplete();
    void onErrore(qint16 tipoErrore, const QString& descrizione);
    void onServerDied(const QString& reason);

    // A handler, a device call or a message is under way: closing must wait for its end.
    bool inSequence() const { return m_depth > 0; }
    // The window is closing: waits end, no message is shown, nothing new starts.
    void setClosing() { m_closing = true; }
    bool closing() const { return m_closing; }

signals:
    // "Sweep ON" took effect: the window shows "Sweep OFF" and locks files and set-up.
    void running();
    // The end of the loop: "Sweep ON" back, files and set-up unlocked.
    void idle();
    // calcolaStep showed the range and the step.
    void rangeShown();
    // aggiornaLblFrequenza rebuilt the table for the range.
    void rangeRebuilt();
    // The frequency markers are to be read again from the table.
    void markersDue();
    // The curve is to be drawn from the table, then the M1/M2 levels read.
    void redrawDue();
    void rateMeasured(qint64 msPerSweep, double sweepsPerSecond);
    // Diagnostic mode: point i was received with this value.
    void pointReceived(int i, double received);
    // A retry warning of a serial device.
    void retryWarning();
    // A finished sweep is in the table (the curve follows 100 ms later).
    void sweepReceived();

private:
    struct Sequence {
        explicit Sequence(SweepController* c);
        ~Sequence();
        SweepController* c;
    };

    // "Sweep ON", cancelled when "Sweep OFF" is pressed after stopsSeen stops.
    void requestStart(quint32 stopsSeen);
    void startSweep(quint32 stopsSeen);
    bool waitForIdle();
    void replayQueuedStart();
    // Idle: the generator to the start frequency.
    void applyIdleFrequency();
    void aggiornaTimer();
    void endOfSweepControls();
    void tell(const QString& text);
    QString formatFreq(qint32 f) const;

    SweepConfig& m_cfg;
    SweepData* m_data;
    UserMessages& m_messages;
    SweepDevice* m_device = nullptr;
    SweepAverager m_averager;
    int m_stopWaitMs;
    qint16 m_statoSweep = SweepState::kStopped;
    qint32 m_freqStep = 0;
    bool m_startRefused = false;
    // Where a start is: waiting for the end of the previous sweep, or past reading the range.
    enum class StartPhase { None, Waiting, RangeTaken };
    StartPhase m_startPhase = StartPhase::None;
    // "Sweep OFF" presses so far: a start whose wait saw one more stays off.
    quint32 m_stops = 0;
    // A "Sweep ON" pressed during another device call, and the stops seen when it was pressed.
    bool m_startQueued = false;
    quint32 m_queuedStops = 0;
    QTimer* m_queuedStart;
    // A range edit re-applied while the stop was under way: the generator takes it at the end.
    bool m_reapplyWhenIdle = false;
    bool m_closing = false;
    int m_depth = 0;
    QElapsedTimer m_clock;
    qint64 m_tickUltimo = 0;
    QTimer* timerUpdateSweep;
    QTimer* timerGrafico;
};
