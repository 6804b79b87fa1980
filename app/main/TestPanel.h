#pragma once
// The diagnostic panel frameTest, shown only with [Debug] "Log": the log list lstLOG, the
// last received point txtRX, the retry counter txtErrori, the point count lblCampioni and the
// test buttons, which send single commands to the device, fill the table with a random test
// curve, clear the log, or force the sweep controls back to the stopped state. What the window
// must redraw or reset afterwards it is told by the signals.
#include <QObject>
#include <functional>

class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QWidget;
struct SweepContext;

class TestPanel : public QObject {
    Q_OBJECT
public:
    TestPanel(SweepContext& context, QWidget* parent);

    QGroupBox* frame() const { return frameTest; }

    // A log line, appended as the new last line and selected (which scrolls it into view).
    void appendLog(const QString& line);
    // Point i was received with this value; shown at once so the points can be watched.
    void showPoint(int i, double received);
    // One more retry warning of a serial device.
    void countRetry();
    void setSampleCount(const QString& text);
    // The caption of a measurement kind: 1 "Angle", 2 "RetLoss", 3 "DUT".
    void showMeasureKind(qint16 kind);
    QPushButton* button(const QString& name) const;
    // "F.Step" has the window compute the step (calcolaStep) and gets it back from this.
    void setStepSource(std::function<qint32()> computeStep) {
        m_computeStep = std::move(computeStep);
    }

signals:
    // "Reset" took the PIC board's generator back: the sweep state is idle.
    void generatorReset();
    // "Draw" filled the table with a test curve: grid, curve and marker readouts follow.
    void testCurveReady();
    // "Clear" emptied the log: grid, frequency labels and marker readouts follow.
    void cleared();
    // "Stop": the sweep is to stop, and the controls go back to the stopped state at once.
    void forcedStop();

private:
    void cmdMisura_Click();
    void cmdReset_Click();
    void cmdFreqDDS_Click();
    void cmdFreqStart_Click();
    void cmdFreqStep_Click();
    void cmdDraw_Click();
    void cmdClear_Click();
    void refused(const QString& text);

    SweepContext& m_ctx;
    std::function<qint32()> m_computeStep;
    QGroupBox* frameTest;
    QListWidget* lstLOG = nullptr;
    QLineEdit* txtRX = nullptr;
    QLineEdit* txtErrori = nullptr;
    QLabel* lblCampioni = nullptr;
    QPushButton* cmdMisura = nullptr;
};
