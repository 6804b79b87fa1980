#pragma once
// "Calibrate Generator": trims the generator's frequency against a frequency meter. Every
// change of the offset is sent to the device at once and the generator retuned to the start
// frequency; "Apply" stores the offset in the live configuration (the window saves it when it
// closes); closing hands the device the stored offset again, so an offset only tried is taken
// back. With the PIC board the offset is edited and stored but never sent.
#include "SweepContext.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;
class QScrollBar;

class frmCalibraDDS : public QDialog {
    Q_OBJECT
public:
    explicit frmCalibraDDS(SweepContext& context, QWidget* parent = nullptr);

    static QString instructions();

    void done(int result) override;

private:
    void txtOffset_Change();
    void txtOffset_LostFocus();
    void VScrollOffset_Change(int position);
    void cmdApply_Click();
    double offset() const;
    void send();

    SweepContext& m_context;
    // Set while a handler updates the controls, so their change handlers do not run again.
    bool m_updating = false;
    bool m_closed = false;

    QLabel* Label1 = nullptr;
    QLineEdit* txtOffset = nullptr;
    QScrollBar* VScrollOffset = nullptr;
    QPushButton* cmdApply = nullptr;
    QPushButton* cmdExit = nullptr;
};
