// "Calibrate Generator" and "Calibrate Detector" driven as a user would, on the simulated
// parallel-port board and MiniVNA through the real tarvex: what they send shows in the
// device's log lines.
#include "DialogFixture.h"
#include "LptSweepDevice.h"
#include "frmCalibraADC.h"
#include "frmCalibraDDS.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <cmath>

namespace {

template <typename T> T* child(QWidget* w, const char* name) {
    T* c = w->findChild<T*>(QString::fromLatin1(name));
    if (!c)
        qFatal("no control %s", name);
    return c;
}

void showActive(QWidget& w) {
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    w.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w));
}

void type(QLineEdit* field, const QString& keys) {
    field->setFocus();
    QTRY_VERIFY(field->hasFocus());
    field->selectAll();
    QTest::keyClicks(field, keys);
}

// The bar's upper arrow (position 1) and lower arrow (position 3), as a click on them does.
void stepUp(QScrollBar* bar) {
    bar->triggerAction(QAbstractSlider::SliderSingleStepSub);
}
void stepDown(QScrollBar* bar) {
    bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
}

// An AD9850 on a reference clock of 2^26 Hz: 64 steps of the tuning word per hertz.
void useAd9850At64StepsPerHertz(SweepConfig& cfg) {
    cfg.interfaccia = 2;
    cfg.ddsDevice = QStringLiteral("AD9850");
    cfg.ddsClock = 67108864;
    cfg.ddsMultiplier = 0; // no reference multiplier
    cfg.adcDevice = QStringLiteral("10bit");
}

// The offsets (Hz) the generator calibration handed the device, read from its log lines.
// Each write of aDDSoffset logs a thousandth of it ("DDS offset: "); a retune that follows
// logs the tuning word ("AD9850 FWord= "), (64 + offset / 1000) x the frequency. An offset
// followed by a retune was tried, one without was restored.
struct OffsetsSent {
    QList<double> tried;
    QList<double> restored;
    qint32 retunedTo = 0;
};

OffsetsSent offsetsSent(const QStringList& lines) {
    const QString offsetHead = QStringLiteral("DDS offset: ");
    const QString wordHead = QStringLiteral("AD9850 FWord= ");
    // Hundredths of a hertz, the calibration's step: the values compare exactly.
    const auto hertz = [](double thousandths) { return std::round(thousandths * 1e5) / 100.0; };
    OffsetsSent sent;
    bool pending = false; // an offset was written and no retune has followed yet
    double written = 0;   // the last offset written, in thousandths
    for (const QString& line : lines) {
        if (line.startsWith(offsetHead)) {
            if (pending)
                sent.restored.append(hertz(written));
            bool ok = false;
            written = QLocale().toDouble(line.mid(offsetHead.size()), &ok);
            if (!ok)
                qFatal("unreadable offset line %s", qPrintable(line));
            pending = true;
        } else if (line.startsWith(wordHead) && pending) {
            sent.tried.append(hertz(written));
            sent.retunedTo = qRound(line.mid(wordHead.size()).toDouble() / (64.0 + written));
            pending = false;
        }
    }
    if (pending)
        sent.restored.append(hertz(written));
    return sent;
}

// The speed modes the device was given ("Sweeping speed: ").
QList<qint16> speedsSent(const QStringList& lines) {
    const QString head = QStringLiteral("Sweeping speed: ");
    QList<qint16> speeds;
    for (const QString& line : lines)
        if (line.startsWith(head))
            speeds.append(static_cast<qint16>(line.mid(head.size()).toShort()));
    return speeds;
}

} // namespace

class TestCalibration : public QObject {
    Q_OBJECT
private slots:
    void generatorSendsEveryChangeAndTakesBackWhatWasNotApplied();
    void generatorWithoutDeviceStillStores();
    void detectorShowsTheTriedOffsetAndAppliesToTheTable();
    void detectorExitKeepsOffsetAndTable();
    void detectorReadsTheSimulatedConverter();
};

void TestCalibration::generatorSendsEveryChangeAndTakesBackWhatWasNotApplied() {
    DialogFixture f;
    useAd9850At64StepsPerHertz(f.config);
    f.config.ddsOffset = 0;
    f.config.freqStart = 7000000;
    SimulatedDevice device(2, f.config, QStringLiteral("flat"));
    QVERIFY2(device.problem.isEmpty(), qPrintable(device.problem));
    f.context.device = device.get();
    frmCalibraDDS d(f.context);
    showActive(d);
    QCOMPARE(child<QLabel>(&d, "Label1")->text(), frmCalibraDDS::instructions());
    QVERIFY(frmCalibraDDS::instructions().startsWith(QStringLiteral(
        "1. Select any start frequency.\n2. Connect the output of the generator to a frequency "
        "meter.\n3.")));
    auto* text = child<QLineEdit>(&d, "txtOffset");
    QCOMPARE(text->text(), QStringLiteral("0"));

    auto* bar = child<QScrollBar>(&d, "VScrollOffset");
    for (int i = 0; i < 3; ++i)
        stepUp(bar);
    QCOMPARE(text->text(), localised("0.03"));
    QCOMPARE(bar->value(), 2);
    QTRY_COMPARE(offsetsSent(device.lines).tried, QList<double>({0.01, 0.02, 0.03}));
    QCOMPARE(offsetsSent(device.lines).retunedTo, 7000000);
    stepDown(bar);
    QTRY_COMPARE(offsetsSent(device.lines).tried.last(), 0.02);

    type(text, QStringLiteral("x"));
    QCOMPARE(text->text(), QStringLiteral("0"));
    QTRY_COMPARE(offsetsSent(device.lines).tried.last(), 0.0);
    // A negative offset can be typed: the lone sign waits for its digits.
    type(text, QStringLiteral("-1") + localised(".5"));
    QCOMPARE(text->text(), QStringLiteral("-1") + localised(".5"));
    QTRY_COMPARE(offsetsSent(device.lines).tried.last(), -1.5);

    child<QPushButton>(&d, "cmdExit")->click();
    QCOMPARE(f.config.ddsOffset, 0.0);
    QTRY_COMPARE(offsetsSent(device.lines).restored, QList<double>{0.0});

    frmCalibraDDS again(f.context);
    showActive(again);
    type(child<QLineEdit>(&again, "txtOffset"), QStringLiteral("12"));
    child<QPushButton>(&again, "cmdApply")->click();
    QCOMPARE(f.config.ddsOffset, 12.0);
    again.close(); // the close box: the same restore
    QTRY_COMPARE(offsetsSent(device.lines).restored.last(), 12.0);
}

void TestCalibration::generatorWithoutDeviceStillStores() {
    DialogFixture f;
    f.config.ddsOffset = 1.25;
    frmCalibraDDS d(f.context);
    QCOMPARE(child<QLineEdit>(&d, "txtOffset")->text(), localised("1.25"));
    stepUp(child<QScrollBar>(&d, "VScrollOffset"));
    child<QPushButton>(&d, "cmdApply")->click();
    QCOMPARE(f.config.ddsOffset, 1.26);
}

void TestCalibration::detectorShowsTheTriedOffsetAndAppliesToTheTable() {
    DialogFixture f;
    // The ramp reads one count per 10 kHz: 100 counts at 1 MHz, which the AD9850 on 2^26 Hz
    // generates exactly.
    useAd9850At64StepsPerHertz(f.config);
    f.config.freqStart = 1000000;
    SimulatedDevice device(2, f.config, QStringLiteral("ramp"));
    QVERIFY2(device.problem.isEmpty(), qPrintable(device.problem));
    f.context.device = device.get();
    f.config.adcStep = 0.005f;
    f.config.adcOffset = 0;
    f.config.scala = 1;
    f.config.sweepMode = 2;
    int redraws = 0;
    f.context.graphChanged = [&redraws] { ++redraws; };
    f.data.rebuild(1000000, 1000, false);
    QVector<double> raw(400, 100.0);
    raw[0] = 200;
    raw[1] = 0;
    f.data.setReadings(raw, f.config.scala, f.config.adcStep, f.config.adcOffset);

    frmCalibraADC d(f.context);
    showActive(d);
    QTRY_COMPARE(speedsSent(device.lines), QList<qint16>{3});
    QCOMPARE(d.findChild<QTimer*>(QStringLiteral("TimerDetector"))->interval(), 500);
    QVERIFY(d.findChild<QTimer*>(QStringLiteral("TimerDetector"))->isActive());
    auto* text = child<QLineEdit>(&d, "txtOffsetVolt");
    QCOMPARE(text->text(), localised("0.000"));
    auto* bar = child<QScrollBar>(&d, "VScrollOffset");
    stepDown(bar);
    stepDown(bar);
    QCOMPARE(text->text(), localised("-0.002"));
    type(text, QStringLiteral("q"));
    QTest::keyClick(text, Qt::Key_Tab);
    QCOMPARE(text->text(), localised("0.000"));

    // 100 counts x 5 mV + the offset being tried (not yet applied).
    type(text, localised("0.1"));
    QTest::keyClick(text, Qt::Key_Tab);
    QCOMPARE(text->text(), localised("0.100"));
    d.TimerDetector_Timer();
    QCOMPARE(child<QLabel>(&d, "lblVolt")->text(), localised("0.600"));
    // The MiniVNA's reading is the first point of the last sweep, 200 counts: 1.100 V.
    {
        SimulatedDevice vna(3, f.config, QStringLiteral("flat"));
        QVERIFY2(vna.problem.isEmpty(), qPrintable(vna.problem));
        f.context.device = vna.get();
        d.TimerDetector_Timer();
        QCOMPARE(child<QLabel>(&d, "lblVolt")->text(), localised("1.100"));
        f.context.device = device.get();
    }
    QCOMPARE(f.config.adcOffset, 0.0f);

    type(text, localised("0"));
    child<QPushButton>(&d, "cmdApply")->click();
    QCOMPARE(f.config.adcOffset, 0.0f);
    // dB against 1 V: 1.000 V, 0.000 V, 0.500 V.
    QCOMPARE(f.data.text(1, 1), localised("0.0"));
    QCOMPARE(f.data.text(2, 1), localised("-100.0"));
    QCOMPARE(f.data.text(3, 1), localised("-6.0"));
    QCOMPARE(f.data.text(1, 2), QStringLiteral("200"));
    QCOMPARE(redraws, 1);

    child<QPushButton>(&d, "cmdExit")->click();
    QVERIFY(!d.findChild<QTimer*>(QStringLiteral("TimerDetector"))->isActive());
    QTRY_COMPARE(speedsSent(device.lines), QList<qint16>({3, 2}));
}

void TestCalibration::detectorExitKeepsOffsetAndTable() {
    DialogFixture f;
    f.config.adcStep = 0.005f;
    f.config.adcOffset = 0.5f;
    f.data.rebuild(1000000, 1000, true);
    frmCalibraADC d(f.context);
    showActive(d);
    stepUp(child<QScrollBar>(&d, "VScrollOffset"));
    QCOMPARE(child<QLineEdit>(&d, "txtOffsetVolt")->text(), localised("0.501"));
    d.TimerDetector_Timer(); // no device: nothing to read
    QCOMPARE(child<QLabel>(&d, "lblVolt")->text(), localised("0.000"));
    d.reject();
    QCOMPARE(f.config.adcOffset, 0.5f);
    QCOMPARE(f.data.text(1, 1), QStringLiteral("0"));
}

void TestCalibration::detectorReadsTheSimulatedConverter() {
    DialogFixture f(QStringLiteral("[Config]\nDDS Device=AD9851\nDDS Xtal freq=30000000\n"
                                   "ADC Device=10bit\nADC Step=0.005\nADC Offset=0\n"));
    f.config.readAll();
    LptSweepDevice device(QString(), nullptr);
    QString error;
    QVERIFY2(device.open({QStringLiteral("--lpt-driver"), QStringLiteral("sim"),
                          QStringLiteral("--sim-dut"), QStringLiteral("flat"),
                          QStringLiteral("--sim-pace"), QStringLiteral("max")},
                         &error),
             qPrintable(error));
    QCOMPARE(device.bind(f.config), QString());
    f.context.device = &device;
    frmCalibraADC d(f.context);
    d.show();
    // A flat response reads the converter's middle code, 512 of 1023: 2.560 V at 5 mV.
    QTRY_COMPARE_WITH_TIMEOUT(child<QLabel>(&d, "lblVolt")->text(), localised("2.560"), 5000);
    device.tryFrequencyOffset(10.0, 1000000);
    QVERIFY(device.isLive());
    d.reject();
    device.shutdown(f.config);
}

QTEST_MAIN(TestCalibration)
#include "tst_calibration.moc"
