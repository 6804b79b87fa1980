#pragma once
// "Preferences": the type of the graph cursor (floating cross or linked cursor lines) and,
// shown only, the lower end of the detector's range in decibels. Closing stores the cursor
// type in the live configuration and in Sweep.ini and tells the window
// (SweepContext::cursorModeChanged).
#include "SweepContext.h"

#include <QDialog>
#include <array>

class QCheckBox;
class QGroupBox;
class QPushButton;
class QRadioButton;

class frmPreferences : public QDialog {
    Q_OBJECT
public:
    explicit frmPreferences(SweepContext& context, QWidget* parent = nullptr);

    // The caption of chkScalaLogaritmica: the dB value of the smallest non-zero reading.
    static QString limitCaption(float adcOffset, float adcStep);

    void done(int result) override;

private:
    SweepContext& m_context;
    qint16 m_cursorMode;
    bool m_closed = false;

    QGroupBox* Frame1 = nullptr;
    std::array<QRadioButton*, 2> optCursor{};
    QGroupBox* Frame2 = nullptr;
    QCheckBox* chkScalaLogaritmica = nullptr;
    QPushButton* cmdExit = nullptr;
};
