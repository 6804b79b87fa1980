#pragma once
// sweep --sweeps N: prints the configuration file, the help and the device server in use,
// presses "Sweep ON" once the window is up, prints one line per sweep received, and closes the
// window normally (state saved, device released) after the Nth. The device's error lines (code 3)
// are printed on stderr as they come. Fails, with a line on stderr saying why, when no device is
// bound, the sweep does not start or ends early, or the sweeps do not arrive within the time
// limit.
#include <QObject>
#include <QPointer>

class QTimer;
class frmSweep;

class ScriptedSweeps : public QObject {
    Q_OBJECT
public:
    ScriptedSweeps(frmSweep* window, int sweeps, int timeLimitMs, QObject* parent = nullptr);

    // Starts the first sweep from the event loop.
    void begin();
    // 0 once the N sweeps arrived, 1 otherwise.
    int exitCode() const { return m_received >= m_wanted ? 0 : 1; }

private:
    void onSweep();
    void fail(const QString& reason);

    QPointer<frmSweep> m_window;
    int m_wanted;
    int m_received = 0;
    bool m_done = false;
    QTimer* m_limit;
};
