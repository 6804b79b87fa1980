#pragma once
// The setup dialog's Ports page: the serial port of the PIC board and the MiniVNA with the
// Linux device it stands for, the parallel port's address and driver, and the device under
// test of the simulated hardware.
#include "frmSetUpPage.h"

#include <functional>

class PortScan;
class QComboBox;
class QGridLayout;
class QLabel;
class QLineEdit;
class QRadioButton;

class SetUpPortsPage : public SetUpPage {
    Q_OBJECT
public:
    // scan: what the page shows of the computer.
    SetUpPortsPage(const PortScan& scan, std::function<void()> beep, QWidget* parent);

    // Also looks at the computer again: which ports there are now.
    void load(const SetUpValues& values) override;
    void store(SetUpValues& values) const override;

private:
    QGroupBox* buildSerialGroup();
    QGroupBox* buildParallelGroup();
    void addAddressOptions(QGridLayout* pg, QGroupBox* parallel);
    void addPortAndDriverLists(QGridLayout* pg, QGroupBox* parallel);
    QGroupBox* buildSimulatorGroup();
    void fillParallelPorts();

    void IsComPortAvailable();
    bool ComPortExists(int comPort) const;
    QString comPortPath(int comPort) const;
    void fillSerialDevices();
    void optSerialPort_Click(int n);
    void txtAddressRS232_Change();
    void optParallelPort_Click(int n);
    void txtAddressLPT_Change();
    void selectParallelOption();
    void showRs232Availability();

    const PortScan& m_scan;
    std::function<void()> m_beep;

    // The values of the page.
    qint16 m_commPort = 0;
    qint16 m_lptAddress = 0;
    QString m_serialDevice;
    QString m_lptDriver;
    QString m_simDut;

    std::array<QRadioButton*, 8> optSerialPort{}; // 1..7
    QLineEdit* txtAddressRS232 = nullptr;
    QLabel* lblAddressRS232 = nullptr;
    QComboBox* cmbSerialDevice = nullptr;
    std::array<QRadioButton*, 4> optParallelPort{}; // 0..3
    QLineEdit* txtAddressLPT = nullptr;
    QLabel* lblAddressLPT = nullptr;
    QComboBox* cmbParport = nullptr;
    QComboBox* cmbLptDriver = nullptr;
    QComboBox* cmbSimDut = nullptr;
};
