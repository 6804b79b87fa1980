#pragma once
// "About Sweep Generator": the configured hardware (interface and port, DDS chip and clock,
// converter and step), credits and the terms of use. Closes with "EXIT" or a click anywhere.
#include "SweepContext.h"

#include <QDialog>

class QLabel;
class QPushButton;
class SweepConfig;

class frmAbout : public QDialog {
    Q_OBJECT
public:
    explicit frmAbout(SweepContext& context, QWidget* parent = nullptr);

    // The texts of lblInterfaccia, lblDDS and lblDAC for a configuration; the interface and
    // converter texts come from the interface's kind of hardware (deviceKind), and are empty
    // for an interface that is not 1, 2 or 3.
    static QString interfaceText(const SweepConfig& cfg);
    static QString ddsText(const SweepConfig& cfg);
    static QString dacText(const SweepConfig& cfg);

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QLabel* lblInterfaccia = nullptr;
    QLabel* lblDDS = nullptr;
    QLabel* lblDAC = nullptr;
    QPushButton* cmdExit = nullptr;
};
