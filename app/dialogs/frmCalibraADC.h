#pragma once
// "Calibrate Detector": sets the detector's voltage offset against a known input voltage.
// Twice a second it shows the voltage the present reading gives with the offset being tried;
// "Apply" stores the offset in the live configuration (the window saves it when it closes) and
// recomputes the table's level column from the raw readings. While it is open the
// parallel-port converter runs in its reading mode (speed 3); closing restores the speed.
#include "SweepContext.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;
class QScrollBar;
class QTimer;

class frmCalibraADC : public QDialog {
    Q_OBJECT
public:
    static constexpr int kTickMs = 500;

    explicit frmCalibraADC(SweepContext& context, QWidget* parent = nullptr);

    static QString instructions();

    void done(int result) override;
    // One tick of the live voltage (the timer's; tests call it directly).
    void TimerDetector_Timer();

private:
    void txtOffsetVolt_Change();
    void VScrollOffset_Change(int position);
    void cmdApply_Click();
    double tried() const;

    SweepContext& m_context;
    // Set while the scroll-bar handler updates the controls.
    bool m_updating = false;
    // A tick waits for the hardware: the next one is skipped.
    bool m_reading = false;
    bool m_closed = false;

    QLabel* Label1 = nullptr;
    QLineEdit* txtOffsetVolt = nullptr;
    QScrollBar* VScrollOffset = nullptr;
    QLabel* lblVolt = nullptr;
    QLabel* Label3 = nullptr;
    QTimer* TimerDetector = nullptr;
    QPushButton* cmdApply = nullptr;
    QPushButton* cmdExit = nullptr;
};
