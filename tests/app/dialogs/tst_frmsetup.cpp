// "Sweep Configuration" driven as a user would: loading, the interface and its default sets,
// the ports, the DDS, A/D and auxiliary pages, and APPLY / EXIT with what reaches the file.
#include "DialogFixture.h"
#include "HelpWindows.h"
#include "IniFile.h"
#include "NumberBox.h"
#include "frmSetUp.h"

#include <QAccessible>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTest>

namespace {

const QString kLptConfig = QStringLiteral(
    "[Config]\nInterface=2\nDDS Device=AD9851\nDDS Multiplier=1\nDDS Xtal freq=30000000\n"
    "DDS Max freq=70000000\nDDS Min freq=10\nDDS Offset=0.5\nADC Device=10bit\nADC Step=0.005\n"
    "ADC Channel=1\nADC Offset=0.25\n[Parallel Port]\nLPT=&H378\n[Serial Port]\nCommPort=3\n");

template <typename T> T* child(QWidget* w, const QString& name) {
    T* c = w->findChild<T*>(name);
    if (!c)
        qFatal("no control %s", qPrintable(name));
    return c;
}

// Focus in a shown dialog, the keys a user types, then Tab away.
void typeInto(QLineEdit* field, const QString& text) {
    field->setFocus(Qt::TabFocusReason);
    QTRY_VERIFY(field->hasFocus());
    field->selectAll();
    QTest::keyClicks(field, text);
    QTest::keyClick(field, Qt::Key_Tab);
    QTRY_VERIFY(!field->hasFocus());
}

// Shown and active, so typed keys reach the focused field.
void showActive(QWidget& w) {
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    w.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w));
}

QString key(const QString& ini, const QString& section, const QString& k) {
    return IniFile(ini).value(section, k).value_or(QStringLiteral("<missing>"));
}

} // namespace

class TestFrmSetUp : public QObject {
    Q_OBJECT
private slots:
    void firstRunLoadsTheFactorySetAndAddsTheMissingOnes();
    void interfaceOptionsLoadTheirSetsOrSayTheyAreMissing();
    void applyAsksWritesInOrderClosesHelpAndEnds();
    void applyThatCannotWriteSaysSoAndStays();
    void portsPageShowsTheComputerAndTakesChoices();
    void ddsPageShowsStoredValuesAndFollowsTheChip();
    void typedNumbersAreTakenOrRefused();
    void auxPagePreviewsLabelsAndCorrectsPotLimits();
    void offsetsAreTheLiveOnesAndExitChangesNothing();
    void everyFieldHasAnAccessibleName();
};

void TestFrmSetUp::firstRunLoadsTheFactorySetAndAddsTheMissingOnes() {
    // [Interface3] partly customised by the user: its keys are kept, the rest completed.
    DialogFixture f(QStringLiteral("[Config]\nInterface=2\n[Interface3]\nADC Channel=2\n"));
    FixedPorts ports;
    frmSetUp d(f.context, &ports);
    QCOMPARE(d.working().ddsDevice, QStringLiteral("AD9851"));
    QCOMPARE(d.working().ddsClock, 30000000);
    QCOMPARE(d.working().ddsMaxFreq, 70000000);
    QVERIFY(child<QRadioButton>(&d, "optInterface_2")->isChecked());
    for (const char* set : {"Interface1", "Interface2", "Interface3"})
        QVERIFY(IniFile(f.ini.path()).hasValue(QString::fromLatin1(set), "DDS Device"));
    QCOMPARE(key(f.ini.path(), "Interface3", "ADC Channel"), QStringLiteral("2"));
    QCOMPARE(key(f.ini.path(), "Interface3", "DDS Device"), QStringLiteral("AD9951"));
    // Loading writes nothing into [Config] but what the loader reads.
    QCOMPARE(key(f.ini.path(), "Config", "DDS Device"), QStringLiteral("<missing>"));
    // Only the parallel port has DDS, A/D and auxiliary pages.
    QVERIFY(child<QPushButton>(&d, "cmdDDS")->isEnabled());
    QVERIFY(child<QPushButton>(&d, "cmdAux")->isEnabled());
    QVERIFY(!d.applied());
}

void TestFrmSetUp::interfaceOptionsLoadTheirSetsOrSayTheyAreMissing() {
    DialogFixture f(kLptConfig);
    FixedPorts ports;
    frmSetUp d(f.context, &ports);
    d.show();
    QVERIFY(QTest::qWaitForWindowExposed(&d));
    d.showPage(frmSetUp::kDds);
    child<QRadioButton>(&d, "optInterface_3")->click();
    QCOMPARE(d.working().interfaccia, 3);
    QCOMPARE(d.working().ddsDevice, QStringLiteral("AD9951"));
    QCOMPARE(d.working().adcChannel, 3);
    QVERIFY(!child<QPushButton>(&d, "cmdDDS")->isEnabled());
    QVERIFY(!child<QPushButton>(&d, "cmdADC")->isEnabled());
    QVERIFY(child<QWidget>(&d, "frameSetUp_0")->isVisible()); // the DDS page went away
    QVERIFY(f.messages.shown.isEmpty());

    // The sets disappear from the file behind the dialog's back.
    QString ini = f.ini.read();
    ini.replace(QStringLiteral("[Interface1]"), QStringLiteral("[Other1]"));
    ini.replace(QStringLiteral("[Interface2]"), QStringLiteral("[Other2]"));
    f.ini.write(ini);
    child<QRadioButton>(&d, "optInterface_1")->click();
    QCOMPARE(f.messages.shownTexts(),
             QStringList{QStringLiteral("Sorry, default value not found.")});
    QCOMPARE(d.working().interfaccia, 1);
    QCOMPARE(d.working().ddsDevice, QStringLiteral("AD9951")); // values kept
    child<QPushButton>(&d, "cmdDefault2")->click();
    QCOMPARE(f.messages.lastText(),
             QStringLiteral("Default value for DDS/DAC connencted to LPT not found."));
    QCOMPARE(d.working().interfaccia, 1);
    child<QPushButton>(&d, "cmdDefault1")->click();
    QCOMPARE(f.messages.lastText(), QStringLiteral("Default value for PIC not found."));
    child<QPushButton>(&d, "cmdDefault3")->click();
    QCOMPARE(f.messages.shown.size(), 3);
    QCOMPARE(d.working().interfaccia, 3);
    QVERIFY(child<QRadioButton>(&d, "optInterface_3")->isChecked());
}

void TestFrmSetUp::applyAsksWritesInOrderClosesHelpAndEnds() {
    DialogFixture f(kLptConfig +
                    QStringLiteral("[Sweep Generator]\nStart=5000\n[Aux1]\nEnabled=1\n"));
    FixedPorts ports;
    frmSetUp d(f.context, &ports);
    d.show();
    d.showPage(frmSetUp::kPorts);
    child<QRadioButton>(&d, "optParallelPort_2")->click();

    f.messages.answer = false;
    const QString before = f.ini.read();
    child<QPushButton>(&d, "cmdApply")->click();
    QCOMPARE(
        f.messages.askedTexts(),
        QStringList{QStringLiteral("Please confirm, now program will exit.\nPlease restart.")});
    QCOMPARE(f.ini.read(), before);
    QVERIFY(d.isVisible() && !d.applied());

    HelpWindows::showMain();
    QCOMPARE(HelpWindows::openCount(), 1);
    f.messages.answer = true;
    child<QPushButton>(&d, "cmdApply")->click();
    QVERIFY(d.applied());
    QVERIFY(!d.isVisible());
    QCOMPARE(HelpWindows::openCount(), 0);
    const IniFile ini(f.ini.path());
    QCOMPARE(ini.keys("Config"),
             QStringList({"Interface", "DDS Device", "DDS Multiplier", "DDS Xtal freq",
                          "DDS Max freq", "DDS Min freq", "DDS Offset", "ADC Device", "ADC Step",
                          "ADC Channel", "ADC Offset"}));
    QCOMPARE(ini.value("Parallel Port", "LPT"), QStringLiteral("&H278"));
    QCOMPARE(ini.value("Config", "DDS Offset"), localised("0.5"));
    QCOMPARE(ini.value("Aux1", "Enabled"), QStringLiteral("1"));
    QCOMPARE(ini.value("Aux1", "Step 3"), QStringLiteral("dB 40;40"));
    QCOMPARE(ini.value("Aux2", "PotMax"), QStringLiteral("255"));
    QCOMPARE(ini.value("Parallel Port", "Driver"), QStringLiteral("auto"));
    // The main window's keys are not the dialog's business.
    QCOMPARE(ini.value("Sweep Generator", "Start"), QStringLiteral("5000"));
    QCOMPARE(ini.keys("Sweep Generator"), QStringList{"Start"});
}

void TestFrmSetUp::applyThatCannotWriteSaysSoAndStays() {
    DialogFixture f;
    // The configuration's folder is a file: nothing can be written there.
    QFile blocker(f.ini.filePath(QStringLiteral("blocked")));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    f.config.iniFile = blocker.fileName() + QStringLiteral("/Sweep.ini");
    FixedPorts ports;
    frmSetUp d(f.context, &ports);
    d.show();
    child<QPushButton>(&d, "cmdApply")->click();
    QVERIFY(!d.applied());
    QVERIFY(d.isVisible());
    QCOMPARE(f.messages.shown.size(), 1);
    QVERIFY(f.messages.lastText().startsWith(
        QStringLiteral("The configuration could not be written to ") + f.config.iniFile));
}

void TestFrmSetUp::portsPageShowsTheComputerAndTakesChoices() {
    DialogFixture f(kLptConfig);
    FixedPorts ports;
    frmSetUp d(f.context, &ports);
    showActive(d);
    child<QPushButton>(&d, "cmdPort")->click();
    QVERIFY(child<QWidget>(&d, "frameSetUp_1")->isVisible());
    QCOMPARE(child<QRadioButton>(&d, "optSerialPort_1")->text(), QStringLiteral("COM1"));
    QCOMPARE(child<QRadioButton>(&d, "optSerialPort_2")->text(),
             QStringLiteral("COM2 NOT available"));
    QVERIFY(child<QRadioButton>(&d, "optSerialPort_3")->isChecked());
    QVERIFY(child<QRadioButton>(&d, "optParallelPort_1")->isChecked());

    // COMx with a port that does not exist (/dev/ttyS8): chosen all the same, and labelled.
    child<QRadioButton>(&d, "optSerialPort_7")->click();
    typeInto(child<QLineEdit>(&d, "txtAddressRS232"), QStringLiteral("9"));
    QCOMPARE(d.working().commPort, 9);
    QCOMPARE(child<QLabel>(&d, "lblAddressRS232")->text(), QStringLiteral(" NOT available"));

    // A device for the configured COM: its availability follows the device.
    auto* device = child<QComboBox>(&d, "cmbSerialDevice");
    QStringList items;
    for (int i = 0; i < device->count(); ++i)
        items << device->itemData(i).toString();
    QCOMPARE(items, QStringList({"", "/dev/ttyUSB0", "sim:pic", "sim:vna"}));
    device->setCurrentIndex(3);
    emit device->activated(3);
    QCOMPARE(d.working().serialDevice, QStringLiteral("sim:vna"));
    QCOMPARE(child<QLabel>(&d, "lblAddressRS232")->text(), QString());

    // The custom LPT address, typed in decimal and shown in hexadecimal.
    child<QRadioButton>(&d, "optParallelPort_0")->click();
    QCOMPARE(child<QLineEdit>(&d, "txtAddressLPT")->text(), QStringLiteral("888"));
    typeInto(child<QLineEdit>(&d, "txtAddressLPT"), QStringLiteral("1000"));
    QCOMPARE(d.working().lptAddress, 1000);
    QCOMPARE(child<QLabel>(&d, "lblAddressLPT")->text(), QStringLiteral("(0x3E8)"));
    typeInto(child<QLineEdit>(&d, "txtAddressLPT"), QStringLiteral("x"));
    QCOMPARE(child<QLineEdit>(&d, "txtAddressLPT")->text(), QStringLiteral("1000"));
    QCOMPARE(f.messages.beeps, 1);

    // The port the kernel lists selects its option; driver and device under test.
    auto* found = child<QComboBox>(&d, "cmbParport");
    QCOMPARE(found->itemText(0), QStringLiteral("parport0 @ 632 (0x278)"));
    emit found->activated(0);
    QVERIFY(child<QRadioButton>(&d, "optParallelPort_2")->isChecked());
    auto* driver = child<QComboBox>(&d, "cmbLptDriver");
    driver->setCurrentIndex(driver->findData(QStringLiteral("sim")));
    emit driver->activated(driver->currentIndex());
    auto* dut = child<QComboBox>(&d, "cmbSimDut");
    QStringList duts;
    for (int i = 0; i < dut->count(); ++i)
        duts << dut->itemData(i).toString();
    QCOMPARE(duts, (QStringList{"bandpass", "through", "lowpass", "notch", "ramp", "flat"}));
    QCOMPARE(dut->itemText(1), QStringLiteral("through: the generator straight into the detector"));
    dut->setCurrentIndex(dut->findData(QStringLiteral("ramp")));
    emit dut->activated(dut->currentIndex());

    child<QPushButton>(&d, "cmdApply")->click();
    QVERIFY(d.applied());
    const IniFile ini(f.ini.path());
    QCOMPARE(ini.value("Serial Port", "CommPort"), QStringLiteral("9"));
    QCOMPARE(ini.value("Serial Port", "Device"), QStringLiteral("sim:vna"));
    QCOMPARE(ini.value("Parallel Port", "LPT"), QStringLiteral("&H278"));
    QCOMPARE(ini.value("Parallel Port", "Driver"), QStringLiteral("sim"));
    QCOMPARE(ini.value("Simulator", "DUT"), QStringLiteral("ramp"));
}

void TestFrmSetUp::ddsPageShowsStoredValuesAndFollowsTheChip() {
    QString ini = kLptConfig;
    ini.replace(QStringLiteral("DDS Device=AD9851"), QStringLiteral("DDS Device=AD9951"));
    ini.replace(QStringLiteral("DDS Multiplier=1"), QStringLiteral("DDS Multiplier=5"));
    ini.replace(QStringLiteral("DDS Xtal freq=30000000"), QStringLiteral("DDS Xtal freq=20000000"));
    DialogFixture f(ini);
    FixedPorts ports;
    frmSetUp d(f.context, &ports);
    d.show();
    child<QPushButton>(&d, "cmdDDS")->click();
    QVERIFY(child<QWidget>(&d, "frmAD9951")->isVisible());
    QVERIFY(!child<QWidget>(&d, "frmAD9851")->isVisible());
    QVERIFY(child<QRadioButton>(&d, "optMultiplier_0")->isChecked());
    QCOMPARE(child<QScrollBar>(&d, "HScroll1")->value(), 5);
    QCOMPARE(child<QLabel>(&d, "lblSystemClock")->text(), localised("100,000,000"));
    QCOMPARE(child<QLineEdit>(&d, "txtMaxFreq")->text(), localised("70,000,000"));
    QCOMPARE(child<QLabel>(&d, "lblOffsetDDS")->text(),
             QStringLiteral("Frequency offset: ") + localised("0.500") + QStringLiteral(" Hz"));
    QCOMPARE(d.working().ddsMultiplier, 5); // opening the page changed nothing

    child<QScrollBar>(&d, "HScroll1")->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    QCOMPARE(d.working().ddsMultiplier, 6);
    QCOMPARE(child<QLabel>(&d, "lblMultFactor")->text(), QStringLiteral("6"));
    child<QRadioButton>(&d, "optMultiplier_1")->click();
    QCOMPARE(d.working().ddsMultiplier, 1);
    QCOMPARE(child<QLabel>(&d, "lblSystemClock")->text(), localised("20,000,000"));

    // To the AD9851: the multiplier off stays off; with the AD9951's on, x6 goes on.
    child<QRadioButton>(&d, "optDDSselect_1")->click();
    QCOMPARE(d.working().ddsDevice, QStringLiteral("AD9851"));
    QCOMPARE(d.working().ddsMultiplier, 0);
    QVERIFY(!child<QCheckBox>(&d, "optDDSx6")->isChecked());
    child<QCheckBox>(&d, "optDDSx6")->click();
    QCOMPARE(d.working().ddsMultiplier, 1);
    child<QRadioButton>(&d, "optDDSselect_1")->click(); // the chip shown already
    QCOMPARE(d.working().ddsMultiplier, 1);
    child<QRadioButton>(&d, "optDDSselect_2")->click();
    QCOMPARE(d.working().ddsDevice, QStringLiteral("AD9951"));
    QCOMPARE(d.working().ddsMultiplier, 1);
    QVERIFY(child<QRadioButton>(&d, "optMultiplier_1")->isChecked());

    // An AD9850 keeps its name until the user chooses; x6 shows a multiplier of 1.
    ini.replace(QStringLiteral("DDS Device=AD9951"), QStringLiteral("DDS Device=AD9850"));
    ini.replace(QStringLiteral("DDS Multiplier=5"), QStringLiteral("DDS Multiplier=1"));
    f.ini.write(ini);
    frmSetUp again(f.context, &ports);
    again.showPage(frmSetUp::kDds);
    QVERIFY(child<QCheckBox>(&again, "optDDSx6")->isChecked());
    QVERIFY(child<QRadioButton>(&again, "optDDSselect_1")->isChecked());
    QCOMPARE(again.working().ddsDevice, QStringLiteral("AD9850"));
    QCOMPARE(again.working().ddsMultiplier, 1);
}

void TestFrmSetUp::typedNumbersAreTakenOrRefused() {
    DialogFixture f(kLptConfig);
    FixedPorts ports;
    frmSetUp d(f.context, &ports);
    showActive(d);
    child<QPushButton>(&d, "cmdDDS")->click();
    auto* maxFreq = child<QLineEdit>(&d, "txtMaxFreq");
    maxFreq->setFocus();
    QTRY_COMPARE(maxFreq->text(), QStringLiteral("70000000")); // the plain number for typing
    typeInto(maxFreq, QStringLiteral("50000000"));
    QCOMPARE(d.working().ddsMaxFreq, 50000000);
    QCOMPARE(maxFreq->text(), localised("50,000,000"));
    typeInto(maxFreq, QStringLiteral("5e"));
    QCOMPARE(d.working().ddsMaxFreq, 50000000);
    QCOMPARE(maxFreq->text(), localised("50,000,000"));
    QCOMPARE(f.messages.beeps, 1);
    typeInto(child<QLineEdit>(&d, "txtClk9851"), QStringLiteral("0"));
    QCOMPARE(d.working().ddsClock, 30000000); // a chip cannot run from 0 Hz
    QCOMPARE(f.messages.beeps, 2);

    child<QPushButton>(&d, "cmdADC")->click();
    auto* step = child<QLineEdit>(&d, "txtADCstep");
    QCOMPARE(step->text(), localised("5.000"));
    // Tabbing through without typing keeps the stored step exactly.
    step->setFocus();
    QTRY_VERIFY(step->hasFocus());
    QTest::keyClick(step, Qt::Key_Tab);
    QCOMPARE(d.working().adcStep, 0.005f);
    typeInto(step, localised("2.5"));
    QCOMPARE(d.working().adcStep, 0.0025f);
    QCOMPARE(step->text(), localised("2.500"));
    typeInto(child<QLineEdit>(&d, "txtADCchannel"), QStringLiteral("3"));
    QCOMPARE(d.working().adcChannel, 3);
    child<QRadioButton>(&d, "optADC_1")->click();
    QCOMPARE(d.working().adcDevice, QStringLiteral("8bit"));
    QCOMPARE(child<QLabel>(&d, "lblOffset")->text(),
             QStringLiteral("Offset: ") + localised("0.250") + QStringLiteral(" Volt"));
}

void TestFrmSetUp::auxPagePreviewsLabelsAndCorrectsPotLimits() {
    DialogFixture f(kLptConfig);
    FixedPorts ports;
    frmSetUp d(f.context, &ports);
    showActive(d);
    child<QPushButton>(&d, "cmdAux")->click();
    auto* label = child<QLineEdit>(&d, "txtAux2_4");
    label->setFocus();
    QTRY_VERIFY(label->hasFocus());
    label->selectAll();
    QTest::keyClicks(label, QStringLiteral("  6;dB"));
    // The label and value are stored as "label;value": ';' is not typed into a label.
    QCOMPARE(label->text(), QStringLiteral("  6dB"));
    QCOMPARE(child<QCheckBox>(&d, "chkAux2_4")->text(), QStringLiteral("  6dB"));
    typeInto(child<QLineEdit>(&d, "txtAux2Val_4"), QStringLiteral("6"));
    child<QCheckBox>(&d, "chkBoxEnableAux2")->click();
    child<QCheckBox>(&d, "chkBoxLogicaAux1")->click();
    typeInto(child<QLineEdit>(&d, "txtTitoloAux1"), QStringLiteral("Step attenuator"));

    auto* max = child<QLineEdit>(&d, "txtVscrollMax");
    auto* min = child<QLineEdit>(&d, "txtVScrollMin");
    typeInto(max, QStringLiteral("100"));
    typeInto(min, QStringLiteral("20"));
    QCOMPARE(max->text(), QStringLiteral("100"));
    QCOMPARE(min->text(), QStringLiteral("20"));
    typeInto(max, QStringLiteral("10"));
    QCOMPARE(max->text(), QStringLiteral("255"));
    typeInto(max, QStringLiteral("300"));
    QCOMPARE(max->text(), QStringLiteral("255"));
    typeInto(min, QStringLiteral("-1"));
    QCOMPARE(min->text(), QStringLiteral("0"));
    typeInto(max, QStringLiteral("40"));
    typeInto(min, QStringLiteral("50"));
    QCOMPARE(min->text(), QStringLiteral("0"));

    child<QPushButton>(&d, "cmdApply")->click();
    const IniFile ini(f.ini.path());
    QCOMPARE(ini.value("Aux2", "Step 4"), QStringLiteral("6dB;6"));
    QCOMPARE(ini.value("Aux2", "Enabled"), QStringLiteral("1"));
    QCOMPARE(ini.value("Aux1", "Inverse Logic"), QStringLiteral("1"));
    QCOMPARE(ini.value("Aux1", "Title"), QStringLiteral("Step attenuator"));
    QCOMPARE(ini.value("Aux2", "PotMax"), QStringLiteral("40"));
    QCOMPARE(ini.value("Aux2", "PotMin"), QStringLiteral("0"));
}

void TestFrmSetUp::offsetsAreTheLiveOnesAndExitChangesNothing() {
    DialogFixture f(kLptConfig);
    f.config.readAll();
    // Calibrated in this run, not saved yet.
    f.config.ddsOffset = 2.5;
    f.config.adcOffset = 0.125f;
    f.context.configRead = true;
    FixedPorts ports;
    {
        frmSetUp d(f.context, &ports);
        QCOMPARE(d.working().ddsOffset, 2.5);
        child<QPushButton>(&d, "cmdDefault3")->click(); // loads the set's offsets
        QCOMPARE(d.working().ddsOffset, 0.0);
        child<QPushButton>(&d, "cmdExit")->click();
        QVERIFY(!d.applied());
    }
    QCOMPARE(f.config.ddsOffset, 2.5);
    QCOMPARE(f.config.adcOffset, 0.125f);
    QCOMPARE(f.config.interfaccia, 2);
    QCOMPARE(key(f.ini.path(), "Config", "Interface"), QStringLiteral("2"));

    frmSetUp d(f.context, &ports);
    child<QPushButton>(&d, "cmdApply")->click();
    QCOMPARE(key(f.ini.path(), "Config", "DDS Offset"), localised("2.5"));
    QCOMPARE(key(f.ini.path(), "Config", "ADC Offset"), localised("0.125"));
}

void TestFrmSetUp::everyFieldHasAnAccessibleName() {
    DialogFixture f(kLptConfig);
    FixedPorts ports;
    frmSetUp d(f.context, &ports);
    d.show();
    QVERIFY(QTest::qWaitForWindowExposed(&d));
    for (int p = 0; p < frmSetUp::kPages; ++p) {
        d.showPage(p);
        for (QWidget* w : d.findChildren<QWidget*>()) {
            if (!w->isVisible())
                continue;
            QAccessibleInterface* a = QAccessible::queryAccessibleInterface(w);
            QVERIFY(a);
            const QString name = a->text(QAccessible::Name);
            if (qobject_cast<QLineEdit*>(w) || qobject_cast<QComboBox*>(w) ||
                qobject_cast<QScrollBar*>(w))
                QVERIFY2(!name.isEmpty(), qPrintable(w->objectName()));
            if (auto* b = qobject_cast<QAbstractButton*>(w))
                QVERIFY2(name == b->text() || (name.isEmpty() && b->text().isEmpty()) ||
                             b->objectName().startsWith(QLatin1String("cmdDefault")),
                         qPrintable(w->objectName()));
        }
    }
}

QTEST_MAIN(TestFrmSetUp)
#include "tst_frmsetup.moc"
