// The setup dialog's Ports page: the serial port of the PIC board and the MiniVNA with the
// Linux device it stands for, the parallel port's address and driver, and the device under
// test of the simulated hardware.
#include "frmSetUpPorts.h"

#include "Accessible.h"
#include "LptDrivers.h"
#include "NumberParse.h"
#include "PortScan.h"
#include "SimulatedDuts.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace {

constexpr int kLptAddresses[] = {0, 888, 632, 956};
// The address travels to tarvex as a 16-bit signed number.
constexpr int kMaxLptAddress = 0x7FFF;
constexpr int kMaxComPort = 255;

QString hexAddress(int address) {
    return QStringLiteral("(0x") + QString::number(address, 16).toUpper() + QLatin1Char(')');
}

std::optional<int> wholeNumber(const QString& text, int min, int max) {
    const auto v = parseNumber(text.trimmed());
    if (!v || *v != double(qint64(*v)) || *v < min || *v > max)
        return std::nullopt;
    return int(*v);
}

QLabel* hintLabel(const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setWordWrap(true);
    return label;
}

} // namespace

SetUpPortsPage::SetUpPortsPage(const PortScan& scan, std::function<void()> beep, QWidget* parent)
    : SetUpPage(QStringLiteral("Ports"), parent), m_scan(scan), m_beep(std::move(beep)) {
    auto* layout = new QGridLayout(this);
    layout->addWidget(buildSerialGroup(), 0, 0);
    layout->addWidget(buildParallelGroup(), 0, 1);
    layout->addWidget(buildSimulatorGroup(), 1, 0, 1, 2);
    layout->setRowStretch(2, 1);
}

// Serial port (interfaces 1 and 3).
QGroupBox* SetUpPortsPage::buildSerialGroup() {
    auto* serial = new QGroupBox(QStringLiteral("Serial port (PIC board, MiniVNA)"), this);
    auto* sg = new QGridLayout(serial);
    for (int n = 1; n <= 7; ++n) {
        optSerialPort[n] = new QRadioButton(
            n <= 6 ? QStringLiteral("COM%1").arg(n) : QStringLiteral("COMx"), serial);
        optSerialPort[n]->setObjectName(QStringLiteral("optSerialPort_%1").arg(n));
        connect(optSerialPort[n], &QRadioButton::toggled, this, [this, n](bool on) {
            if (on)
                optSerialPort_Click(n);
        });
        if (n <= 6)
            sg->addWidget(optSerialPort[n], (n - 1) % 3, (n - 1) / 3);
    }
    txtAddressRS232 = new QLineEdit(serial);
    txtAddressRS232->setObjectName(QStringLiteral("txtAddressRS232"));
    txtAddressRS232->setMaximumWidth(60);
    nameField(txtAddressRS232, QStringLiteral("COMx port number"));
    lblAddressRS232 = new QLabel(serial);
    lblAddressRS232->setObjectName(QStringLiteral("lblAddressRS232"));
    auto* comx = new QHBoxLayout;
    comx->addWidget(optSerialPort[7]);
    comx->addWidget(txtAddressRS232);
    comx->addWidget(lblAddressRS232, 1);
    sg->addLayout(comx, 3, 0, 1, 2);
    connect(txtAddressRS232, &QLineEdit::textEdited, this, &SetUpPortsPage::txtAddressRS232_Change);
    connect(txtAddressRS232, &QLineEdit::editingFinished, this, [this] {
        if (!wholeNumber(txtAddressRS232->text(), 1, kMaxComPort)) {
            m_beep();
            txtAddressRS232->setText(QString::number(m_commPort));
            showRs232Availability();
        }
    });
    sg->addWidget(hintLabel(QStringLiteral("If your COM is not listed, select the custom COMx and "
                                           "enter the port number"),
                            serial),
                  4, 0, 1, 2);
    cmbSerialDevice = new QComboBox(serial);
    cmbSerialDevice->setObjectName(QStringLiteral("cmbSerialDevice"));
    sg->addWidget(captionFor(new QLabel(QStringLiteral("Linux device for this COM:"), serial),
                             cmbSerialDevice),
                  5, 0, 1, 2);
    sg->addWidget(cmbSerialDevice, 6, 0, 1, 2);
    connect(cmbSerialDevice, &QComboBox::activated, this, [this] {
        m_serialDevice = cmbSerialDevice->currentData().toString();
        emit edited();
        IsComPortAvailable();
        showRs232Availability();
    });
    return serial;
}

// Parallel port (interface 2).
QGroupBox* SetUpPortsPage::buildParallelGroup() {
    auto* parallel = new QGroupBox(QStringLiteral("Parallel port (DDS generator/detector)"), this);
    auto* pg = new QGridLayout(parallel);
    addAddressOptions(pg, parallel);
    addPortAndDriverLists(pg, parallel);
    return parallel;
}

// The usual addresses and a custom one.
void SetUpPortsPage::addAddressOptions(QGridLayout* pg, QGroupBox* parallel) {
    const QStringList lptCaptions{QStringLiteral("LPTx  @ "), QStringLiteral("LPT1  @ 888 (0x378)"),
                                  QStringLiteral("LPT2  @ 632 (0x278)"),
                                  QStringLiteral("LPT3  @ 956 (0x3BC)")};
    for (int n = 0; n <= 3; ++n) {
        optParallelPort[n] = new QRadioButton(lptCaptions[n], parallel);
        optParallelPort[n]->setObjectName(QStringLiteral("optParallelPort_%1").arg(n));
        connect(optParallelPort[n], &QRadioButton::toggled, this, [this, n](bool on) {
            if (on)
                optParallelPort_Click(n);
        });
        if (n > 0)
            pg->addWidget(optParallelPort[n], n - 1, 0, 1, 3);
    }
    txtAddressLPT = new QLineEdit(parallel);
    txtAddressLPT->setObjectName(QStringLiteral("txtAddressLPT"));
    txtAddressLPT->setMaximumWidth(80);
    nameField(txtAddressLPT, QStringLiteral("LPTx decimal address"));
    lblAddressLPT = new QLabel(parallel);
    lblAddressLPT->setObjectName(QStringLiteral("lblAddressLPT"));
    pg->addWidget(optParallelPort[0], 3, 0);
    pg->addWidget(txtAddressLPT, 3, 1);
    pg->addWidget(lblAddressLPT, 3, 2);
    connect(txtAddressLPT, &QLineEdit::textEdited, this, &SetUpPortsPage::txtAddressLPT_Change);
    connect(txtAddressLPT, &QLineEdit::editingFinished, this, [this] {
        if (!wholeNumber(txtAddressLPT->text(), 1, kMaxLptAddress)) {
            m_beep();
            txtAddressLPT->setText(QString::number(m_lptAddress));
            lblAddressLPT->setText(hexAddress(m_lptAddress));
        }
    });
    pg->addWidget(hintLabel(QStringLiteral("LPT addressing may be different depending on your "
                                           "bios. If your LPT is not listed, select the custom "
                                           "LPTx and enter the decimal address."),
                            parallel),
                  4, 0, 1, 3);
}

// The ports the kernel lists and the driver that reaches them.
void SetUpPortsPage::addPortAndDriverLists(QGridLayout* pg, QGroupBox* parallel) {
    cmbParport = new QComboBox(parallel);
    cmbParport->setObjectName(QStringLiteral("cmbParport"));
    pg->addWidget(captionFor(new QLabel(QStringLiteral("Ports found:"), parallel), cmbParport), 5,
                  0);
    pg->addWidget(cmbParport, 5, 1, 1, 2);
    connect(cmbParport, &QComboBox::activated, this, [this] {
        const int base = cmbParport->currentData().toInt();
        if (base <= 0 || base > kMaxLptAddress)
            return;
        m_lptAddress = static_cast<qint16>(base);
        emit edited();
        selectParallelOption();
    });
    cmbLptDriver = new QComboBox(parallel);
    cmbLptDriver->setObjectName(QStringLiteral("cmbLptDriver"));
    for (const LptDriver& driver : kLptDrivers)
        cmbLptDriver->addItem(QLatin1String(driver.caption), QLatin1String(driver.name));
    pg->addWidget(captionFor(new QLabel(QStringLiteral("Driver:"), parallel), cmbLptDriver), 6, 0);
    pg->addWidget(cmbLptDriver, 6, 1, 1, 2);
    connect(cmbLptDriver, &QComboBox::activated, this, [this] {
        m_lptDriver = cmbLptDriver->currentData().toString();
        emit edited();
    });
}

// Simulated hardware.
QGroupBox* SetUpPortsPage::buildSimulatorGroup() {
    auto* sim = new QGroupBox(QStringLiteral("Simulated hardware"), this);
    auto* simLayout = new QGridLayout(sim);
    cmbSimDut = new QComboBox(sim);
    cmbSimDut->setObjectName(QStringLiteral("cmbSimDut"));
    for (const SimulatedDut& dut : kSimulatedDuts)
        cmbSimDut->addItem(
            QStringLiteral("%1: %2").arg(QLatin1String(dut.name), QLatin1String(dut.description)),
            QLatin1String(dut.name));
    simLayout->addWidget(
        captionFor(new QLabel(QStringLiteral("Device under test:"), sim), cmbSimDut), 0, 0);
    simLayout->addWidget(cmbSimDut, 0, 1);
    simLayout->addWidget(
        hintLabel(QStringLiteral("Used by the simulated PIC board, the simulated MiniVNA and the "
                                 "simulated parallel-port board."),
                  sim),
        1, 0, 1, 2);
    simLayout->setColumnStretch(1, 1);
    connect(cmbSimDut, &QComboBox::activated, this, [this] {
        m_simDut = cmbSimDut->currentData().toString();
        emit edited();
    });
    return sim;
}

void SetUpPortsPage::load(const SetUpValues& values) {
    m_commPort = values.config.commPort;
    m_lptAddress = values.config.lptAddress;
    m_serialDevice = values.config.serialDevice;
    m_lptDriver = values.config.lptDriver;
    m_simDut = values.config.simDut;

    fillSerialDevices();
    IsComPortAvailable();
    const int port = m_commPort;
    {
        QRadioButton* stored = optSerialPort[port >= 1 && port <= 6 ? port : 7];
        const QSignalBlocker shown(stored); // showing the stored port changes nothing
        stored->setChecked(true);
    }
    if (port < 1 || port > 6)
        txtAddressRS232->setText(QString::number(port));
    showRs232Availability();
    selectParallelOption();
    fillParallelPorts();
    cmbLptDriver->setCurrentIndex(qMax(0, cmbLptDriver->findData(m_lptDriver)));
    cmbSimDut->setCurrentIndex(
        qMax(0, cmbSimDut->findData(m_simDut.isEmpty() ? defaultSimulatedDut() : m_simDut)));
}

void SetUpPortsPage::store(SetUpValues& values) const {
    values.config.commPort = m_commPort;
    values.config.lptAddress = m_lptAddress;
    values.config.serialDevice = m_serialDevice;
    values.config.lptDriver = m_lptDriver;
    values.config.simDut = m_simDut;
}

void SetUpPortsPage::fillParallelPorts() {
    cmbParport->clear();
    const QList<ParallelPortEntry> found = m_scan.parallelPorts();
    if (found.isEmpty())
        cmbParport->addItem(QStringLiteral("none (nothing in /proc/sys/dev/parport)"), 0);
    for (const ParallelPortEntry& p : found) {
        QString text = QStringLiteral("%1 @ %2 %3").arg(p.name).arg(p.base).arg(hexAddress(p.base));
        if (p.base > kMaxLptAddress)
            text += QStringLiteral(" - address too high, not usable");
        cmbParport->addItem(text, p.base);
    }
    cmbParport->setCurrentIndex(qMax(0, cmbParport->findData(int(m_lptAddress))));
}

QString SetUpPortsPage::comPortPath(int comPort) const {
    // tarvex maps the configured COM to the chosen device, any other COMn to /dev/ttyS<n-1>.
    if (comPort == m_commPort && !m_serialDevice.isEmpty())
        return m_serialDevice;
    return QStringLiteral("/dev/ttyS%1").arg(comPort - 1);
}

bool SetUpPortsPage::ComPortExists(int comPort) const {
    return m_scan.serialPortExists(comPortPath(comPort));
}

void SetUpPortsPage::IsComPortAvailable() {
    for (int port = 1; port <= 6; ++port) {
        const QString name = QStringLiteral("COM%1").arg(port);
        optSerialPort[port]->setText(ComPortExists(port) ? name
                                                         : name + QStringLiteral(" NOT available"));
    }
}

void SetUpPortsPage::fillSerialDevices() {
    cmbSerialDevice->clear();
    cmbSerialDevice->addItem(
        QStringLiteral("standard: /dev/ttyS%1").arg(qMax<int>(0, m_commPort - 1)), QString());
    for (const SerialPortEntry& p : m_scan.serialPorts())
        cmbSerialDevice->addItem(
            p.description.isEmpty() ? p.path : p.path + QStringLiteral(" - ") + p.description,
            p.path);
    cmbSerialDevice->addItem(QStringLiteral("simulated PIC board"), QStringLiteral("sim:pic"));
    cmbSerialDevice->addItem(QStringLiteral("simulated MiniVNA"), QStringLiteral("sim:vna"));
    int index = cmbSerialDevice->findData(m_serialDevice);
    if (index < 0) {
        // Configured but not present now (an adapter unplugged): kept, and said so.
        cmbSerialDevice->addItem(m_serialDevice + QStringLiteral(" - not found"), m_serialDevice);
        index = cmbSerialDevice->count() - 1;
    }
    cmbSerialDevice->setCurrentIndex(index);
}

void SetUpPortsPage::optSerialPort_Click(int n) {
    if (n <= 6) {
        m_commPort = static_cast<qint16>(n);
    } else if (const auto port = wholeNumber(txtAddressRS232->text(), 1, kMaxComPort)) {
        m_commPort = static_cast<qint16>(*port);
    } else {
        txtAddressRS232->setText(QString::number(m_commPort));
    }
    emit edited();
    fillSerialDevices();
    IsComPortAvailable();
    showRs232Availability();
}

void SetUpPortsPage::txtAddressRS232_Change() {
    if (!optSerialPort[7]->isChecked())
        return;
    if (const auto port = wholeNumber(txtAddressRS232->text(), 1, kMaxComPort)) {
        m_commPort = static_cast<qint16>(*port);
        emit edited();
        fillSerialDevices();
        IsComPortAvailable();
    }
    showRs232Availability();
}

void SetUpPortsPage::showRs232Availability() {
    const auto port = wholeNumber(txtAddressRS232->text(), 1, kMaxComPort);
    lblAddressRS232->setText(optSerialPort[7]->isChecked() && port && !ComPortExists(*port)
                                 ? QStringLiteral(" NOT available")
                                 : QString());
}

void SetUpPortsPage::selectParallelOption() {
    int match = 0;
    for (int n = 1; n <= 3; ++n) {
        // The address is the hexadecimal number at the caption's 16th character.
        bool ok = false;
        const int address =
            optParallelPort[n]->text().mid(15).section(QLatin1Char(')'), 0, 0).toInt(&ok, 16);
        if (ok && address == m_lptAddress)
            match = n;
    }
    {
        const QSignalBlocker shown(optParallelPort[match]); // the address is the one shown
        optParallelPort[match]->setChecked(true);
    }
    if (match == 0) {
        txtAddressLPT->setText(QString::number(m_lptAddress));
        lblAddressLPT->setText(hexAddress(m_lptAddress));
    }
}

void SetUpPortsPage::optParallelPort_Click(int n) {
    if (n > 0) {
        m_lptAddress = static_cast<qint16>(kLptAddresses[n]);
        emit edited();
        return;
    }
    if (txtAddressLPT->text().trimmed().isEmpty())
        txtAddressLPT->setText(QStringLiteral("888"));
    txtAddressLPT_Change();
}

void SetUpPortsPage::txtAddressLPT_Change() {
    const auto address = wholeNumber(txtAddressLPT->text(), 1, kMaxLptAddress);
    lblAddressLPT->setText(address ? hexAddress(*address) : QString());
    if (address && optParallelPort[0]->isChecked()) {
        m_lptAddress = static_cast<qint16>(*address);
        emit edited();
    }
}
