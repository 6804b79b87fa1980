#pragma once
// "Sweep Configuration": the hardware configuration of Sweep.ini on six pages (Interface,
// Ports, DDS Generator, A/D Converter, Auxiliary Button, Parallel Port pin out). It works on a
// copy of the values; "APPLY" writes them after a confirmation and the program must then end
// (the configuration takes effect at the next start); "EXIT" writes nothing. It never talks
// to the hardware. The page builders and handlers live in frmSetUp<Page>.cpp.
#include "AuxConfig.h"
#include "SweepConfig.h"
#include "SweepContext.h"

#include <QDialog>
#include <array>
#include <memory>

class LptPinout;
class NumberBox;
class PortScan;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QScrollBar;

class frmSetUp : public QDialog {
    Q_OBJECT
public:
    enum Page { kInterface, kPorts, kDds, kAdc, kAux, kPinout, kPages };

    // scan: what the Ports page shows of the computer; null: the real one.
    explicit frmSetUp(SweepContext& context, const PortScan* scan = nullptr,
                      QWidget* parent = nullptr);
    ~frmSetUp() override;

    // "APPLY" was confirmed and the configuration written: the program must end.
    bool applied() const { return m_applied; }
    const SweepConfig& working() const { return m_work; }
    const AuxConfig& aux(int n) const { return m_aux[n == 2 ? 1 : 0]; }

    // Loads the DDS and converter values of [Config] or of a factory set [InterfaceN], and both
    // AUX panels, and shows them.
    void caricaSezione(const QString& section);
    // The DDS, A/D and auxiliary pages serve the parallel-port hardware only.
    void abilitaPagine();
    void showPage(int page);

private:
    void buildShell();
    void frameInvisibili();
    void fillControls();
    void beep();
    void cmdApply_Click();

    // Interface page (frmSetUpInterface.cpp).
    QGroupBox* buildInterfacePage();
    void optInterface_Click(int n);
    void cmdDefault_Click(int n);
    bool loadDefaultSet(int n);

    // Ports page (frmSetUpPorts.cpp).
    QGroupBox* buildPortsPage();
    void showPortsPage();
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

    // DDS and A/D pages (frmSetUpDds.cpp, frmSetUpAdc.cpp).
    QGroupBox* buildDdsPage();
    void showDdsPage();
    void optDDSselect_Click(int n);
    void optDDSx6_Click(bool checked);
    void optMultiplier_Click(int n);
    void HScroll1_Change(int value);
    void showSystemClock();
    QGroupBox* buildAdcPage();
    void showAdcPage();

    // Auxiliary page (frmSetUpAux.cpp).
    QGroupBox* buildAuxPage();
    QGroupBox* buildAuxFrame(int n);
    void showAuxPage();
    void txtVscrollMax_LostFocus();
    void txtVScrollMin_LostFocus();

    SweepContext& m_context;
    std::unique_ptr<PortScan> m_ownScan;
    const PortScan* m_scan;
    SweepConfig m_work;
    std::array<AuxConfig, 2> m_aux;
    bool m_applied = false;
    int m_page = kInterface;

    std::array<QPushButton*, kPages> m_pageButtons{};
    std::array<QGroupBox*, kPages> frameSetUp{};
    QPushButton* cmdApply = nullptr;
    QPushButton* cmdExit = nullptr;

    // Interface.
    std::array<QRadioButton*, 4> optInterface{}; // 1..3
    std::array<QPushButton*, 4> cmdDefault{};    // 1..3

    // Ports.
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

    // DDS.
    std::array<QRadioButton*, 3> optDDSselect{}; // 1..2
    QGroupBox* frmAD9851 = nullptr;
    QGroupBox* frmAD9951 = nullptr;
    NumberBox* txtClk9851 = nullptr;
    NumberBox* txtClk9951 = nullptr;
    QCheckBox* optDDSx6 = nullptr;
    std::array<QRadioButton*, 2> optMultiplier{};
    QScrollBar* HScroll1 = nullptr;
    QLabel* lblSystemClock = nullptr;
    QLabel* lblMultFactor = nullptr;
    NumberBox* txtMaxFreq = nullptr;
    NumberBox* txtMinFreq = nullptr;
    QLabel* lblOffsetDDS = nullptr;

    // A/D.
    std::array<QRadioButton*, 3> optADC{}; // 1..2
    NumberBox* txtADCstep = nullptr;
    NumberBox* txtADCchannel = nullptr;
    QLabel* lblOffset = nullptr;

    // Auxiliary, per output k = 0 (Aux1), 1 (Aux2).
    struct AuxControls {
        QCheckBox* enable = nullptr;
        QCheckBox* logic = nullptr;
        QLineEdit* title = nullptr;
        std::array<QCheckBox*, AuxConfig::kSteps> preview{};
        std::array<QLineEdit*, AuxConfig::kSteps> label{};
        std::array<QLineEdit*, AuxConfig::kSteps> value{};
    };
    std::array<AuxControls, 2> m_auxControls;
    QLineEdit* txtVscrollMax = nullptr;
    QLineEdit* txtVScrollMin = nullptr;
};
