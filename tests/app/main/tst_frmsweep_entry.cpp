// Frequency entry, the step and range rules, the table, the views and the sample conversion of
// the main window, without hardware (interface 0: no device object).
#include "CommonFunctions.h"
#include "NumberFormat.h"
#include "SweepFixture.h"
#include "SweepGraph.h"
#include "SweepTable.h"

#include <QAction>
#include <QFocusEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>
#include <QtTest>

namespace {
QString fmt(double f) {
    return formatNumber(f, QStringLiteral("###,###,##0"));
}

QString range(qint64 start, qint64 stop, const QString& more = QString()) {
    return QStringLiteral("Start=%1\nStop=%2\n").arg(start).arg(stop) + more;
}
} // namespace

class TestFrmSweepEntry : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<SweepFixture> m_fx;
    frmSweep* open(const QString& sweepSection, const QString& ini = QString()) {
        m_fx = std::make_unique<SweepFixture>();
        m_fx->ini.write(ini.isEmpty() ? SweepFixture::noDeviceIni(sweepSection) : ini);
        frmSweep* w = m_fx->makeWindow();
        if (!w->load())
            return nullptr;
        return w;
    }
    template <typename T> T* child(const QString& name) {
        return m_fx->window->findChild<T*>(name);
    }

private slots:
    void cleanup() {
        if (m_fx && m_fx->window)
            m_fx->window->close();
        m_fx.reset();
        QLocale::setDefault(QLocale::system());
    }

    void narrowRangeIsWidenedAtStartUp_data() {
        QTest::addColumn<qint64>("start");
        QTest::addColumn<qint64>("stop");
        QTest::addColumn<qint64>("newStart");
        QTest::addColumn<qint64>("newStop");
        QTest::addColumn<QString>("lineA");
        QTest::addColumn<QString>("lineB");
        QTest::newRow("upward")
            << 1000000LL << 1000200LL << 1000000LL << 1000400LL << QString()
            << QStringLiteral("Stop frequency will be set to %1 Hz").arg(fmt(1000400));
        QTest::newRow("downward near zero")
            << 300LL << 100LL << 401LL << 1LL
            << QStringLiteral("Start frequency will be set to 401 Hz")
            << QStringLiteral("Stop frequency will be set to 1 Hz");
        QTest::newRow("downward")
            << 5000000LL << 4999900LL << 5000000LL << 4999600LL << QString()
            << QStringLiteral("Stop frequency will be set to %1 Hz").arg(fmt(4999600));
        QTest::newRow("at the top")
            << 60000000LL << 60000000LL << 59999600LL << 60000000LL
            << QStringLiteral("Start frequency will be set to %1 Hz").arg(fmt(59999600))
            << QStringLiteral("Stop frequency will be set to %1 Hz").arg(fmt(60000000));
    }
    void narrowRangeIsWidenedAtStartUp() {
        QFETCH(qint64, start);
        QFETCH(qint64, stop);
        QFETCH(qint64, newStart);
        QFETCH(qint64, newStop);
        QFETCH(QString, lineA);
        QFETCH(QString, lineB);
        frmSweep* w = open(range(start, stop));
        QVERIFY(w);
        QCOMPARE(w->config().freqStart, newStart);
        QCOMPARE(w->config().freqStop, newStop);
        QCOMPARE(m_fx->messages.shown.size(), 1);
        QCOMPARE(m_fx->messages.lastText(), QStringLiteral("Minimum sweeping range is 400 Hz.\n") +
                                                lineA + QStringLiteral("\n") + lineB);
        QCOMPARE(m_fx->messages.shown.last().second, QMessageBox::Warning);
        QCOMPARE(m_fx->messages.beeps, 1);
        QCOMPARE(child<QLineEdit>(QStringLiteral("txtStart"))->text(), fmt(newStart));
        QCOMPARE(child<QLineEdit>(QStringLiteral("txtStop"))->text(), fmt(newStop));
    }

    void stepTableAndLabels_data() {
        QTest::addColumn<qint64>("start");
        QTest::addColumn<qint64>("stop");
        QTest::addColumn<qint64>("step");
        QTest::addColumn<qint64>("row2");
        QTest::addColumn<qint64>("row400");
        QTest::newRow("2,500") << 1000000LL << 2000000LL << 2500LL << 1002500LL << 1997500LL;
        QTest::newRow("1.5 -> 2") << 1000000LL << 1000600LL << 2LL << 1000002LL << 1000798LL;
        QTest::newRow("2.5 -> 2") << 1000000LL << 1001000LL << 2LL << 1000002LL << 1000798LL;
        QTest::newRow("10,000") << 1000000LL << 5000000LL << 10000LL << 1010000LL << 4990000LL;
        QTest::newRow("downward") << 2000000LL << 1000000LL << -2500LL << 1997500LL << 1002500LL;
    }
    void stepTableAndLabels() {
        QFETCH(qint64, start);
        QFETCH(qint64, stop);
        QFETCH(qint64, step);
        QFETCH(qint64, row2);
        QFETCH(qint64, row400);
        frmSweep* w = open(range(start, stop));
        QVERIFY(w);
        QVERIFY(m_fx->messages.shown.isEmpty());
        QCOMPARE(w->freqStep(), step);
        QCOMPARE(child<QLineEdit>(QStringLiteral("txtStep"))->text(), fmt(double(step)));
        SweepTable* t = w->table();
        QCOMPARE(t->model()->rowCount(), 400);
        QCOMPARE(t->cellText(0, 0), QStringLiteral("Frequency"));
        QCOMPARE(t->cellText(0, 1), QStringLiteral("Volt"));
        QCOMPARE(t->cellText(0, 2), QStringLiteral("Sample"));
        QCOMPARE(t->cellText(1, 0), fmt(double(start)));
        QCOMPARE(t->cellText(2, 0), fmt(double(row2)));
        QCOMPARE(t->cellText(400, 0), fmt(double(row400)));
        // The start-up applies the scale to the built table: the count 0 reads 0 V.
        QCOMPARE(t->cellText(400, 1),
                 QStringLiteral("0") + QLocale().decimalPoint() + QStringLiteral("000"));
        QCOMPARE(t->cellText(400, 2), QStringLiteral("0"));
        QCOMPARE(child<QLabel>(QStringLiteral("lblStart"))->text(), fmt(double(start)));
        QCOMPARE(child<QLabel>(QStringLiteral("lblStop"))->text(), fmt(double(row400)));
        QCOMPARE(child<QLabel>(QStringLiteral("lblCentro"))->text(), t->cellText(200, 0));
        QCOMPARE(child<QLabel>(QStringLiteral("lblCampioni"))->text(),
                 QStringLiteral("N.Campioni  399"));
    }

    void logarithmicScaleRebuildsWithDbHeader() {
        frmSweep* w = open(range(1000000, 2000000, QStringLiteral("Scale=1\n")));
        QVERIFY(w);
        QCOMPARE(w->table()->cellText(0, 1), QStringLiteral("dB"));
        // The start-up applies the scale to the built table: the count 0 (0 V) is -100 dB.
        QCOMPARE(w->table()->cellText(17, 1),
                 QStringLiteral("-100") + QLocale().decimalPoint() + QStringLiteral("0"));
        // A rebuild on the logarithmic scale writes "0" until the next sweep or scale change.
        w->cmdStart_Click();
        QCOMPARE(w->table()->cellText(0, 1), QStringLiteral("dB"));
        QCOMPARE(w->table()->cellText(17, 1), QStringLiteral("0"));
    }

    void sweepOnRefusesNarrowRange() {
        frmSweep* w = open(range(1000000, 10000000));
        QVERIFY(w);
        typeInto(child<QLineEdit>(QStringLiteral("txtStop")), QStringLiteral("1000200"));
        QCOMPARE(m_fx->messages.beeps, 0);
        QTest::mouseClick(child<QPushButton>(QStringLiteral("cmdStart")), Qt::LeftButton);
        QCOMPARE(m_fx->messages.lastText(), QStringLiteral("The minimum sweep range is 400 Hz"));
        QCOMPARE(m_fx->messages.shown.last().second, QMessageBox::Warning);
        QCOMPARE(m_fx->messages.beeps, 1);
        QCOMPARE(w->statoSweep(), qint16(0));
        QVERIFY(!child<QPushButton>(QStringLiteral("cmdStart"))->isHidden());
        QVERIFY(child<QPushButton>(QStringLiteral("cmdStop"))->isHidden());
    }

    void typedFrequencies() {
        frmSweep* w = open(range(1000000, 10000000));
        QVERIFY(w);
        auto* start = child<QLineEdit>(QStringLiteral("txtStart"));
        auto* timer = w->findChild<QTimer*>(QStringLiteral("timerUpdateSweep"));
        QFocusEvent in(QEvent::FocusIn, Qt::TabFocusReason);
        QCoreApplication::sendEvent(start, &in);
        QCOMPARE(start->text(), QStringLiteral("1000000")); // plain while editing

        typeInto(start, QStringLiteral("5e6"));
        QCOMPARE(w->config().freqStart, 5000000);
        QCOMPARE(start->text(), fmt(5000000));
        QVERIFY(timer->isActive());
        QCOMPARE(m_fx->messages.beeps, 0);

        typeInto(start, QStringLiteral("abc"));
        QCOMPARE(w->config().freqStart, 5000000);
        QCOMPARE(m_fx->messages.beeps, 0);

        typeInto(start, QStringLiteral("5"));
        QCOMPARE(w->config().freqStart, 10);
        QCOMPARE(m_fx->messages.beeps, 1);

        typeInto(start, QStringLiteral("99999999"));
        QCOMPARE(w->config().freqStart, 60000000);
        QCOMPARE(m_fx->messages.beeps, 2);

        // Editing while idle neither rebuilds the table nor recomputes the step.
        QCOMPARE(w->table()->cellText(1, 0), fmt(1000000));
        QVERIFY(m_fx->messages.shown.isEmpty());
    }

    void typedFrequenciesFollowTheLocale() {
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        frmSweep* w = open(range(1000000, 10000000));
        QVERIFY(w);
        auto* stop = child<QLineEdit>(QStringLiteral("txtStop"));
        QCOMPARE(stop->text(), QStringLiteral("10.000.000"));
        typeInto(stop, QStringLiteral("2.000.001,5"));
        QCOMPARE(w->config().freqStop, 2000002); // halves to even
        QCOMPARE(stop->text(), QStringLiteral("2.000.002"));
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        typeInto(stop, QStringLiteral("3,000,000.5"));
        QCOMPARE(w->config().freqStop, 3000000);
        QCOMPARE(stop->text(), QStringLiteral("3,000,000"));
    }

    void digitScrollBars_data() {
        QTest::addColumn<bool>("startRow");
        QTest::addColumn<qint64>("initial");
        QTest::addColumn<int>("index");
        QTest::addColumn<int>("arrow"); // 1 upper arrow, 3 lower arrow
        QTest::addColumn<qint64>("expected");
        QTest::addColumn<int>("beeps");
        QTest::newRow("1 kHz up") << true << 1000000LL << 3 << 1 << 1001000LL << 0;
        QTest::newRow("1 Hz down to the minimum") << true << 11LL << 0 << 3 << 10LL << 1;
        QTest::newRow("1 Hz down at the minimum") << true << 10LL << 0 << 3 << 10LL << 1;
        QTest::newRow("stop row down to the minimum") << false << 11LL << 0 << 3 << 10LL << 0;
        QTest::newRow("10 MHz down at 5 MHz") << true << 5000000LL << 7 << 3 << 5000000LL << 0;
        QTest::newRow("100 MHz up clamps") << true << 5000000LL << 8 << 1 << 60000000LL << 1;
        QTest::newRow("stop 100 MHz up clamps") << false << 5000000LL << 8 << 1 << 60000000LL << 1;
    }
    void digitScrollBars() {
        QFETCH(bool, startRow);
        QFETCH(qint64, initial);
        QFETCH(int, index);
        QFETCH(int, arrow);
        QFETCH(qint64, expected);
        QFETCH(int, beeps);
        frmSweep* w = open(startRow ? range(initial, 50000000) : range(1000000, initial));
        QVERIFY(w);
        const int before = m_fx->messages.beeps;
        auto* bar = child<QScrollBar>(
            QStringLiteral("%1_%2").arg(startRow ? "VScrollStart" : "VScrollStop").arg(index));
        QVERIFY(bar);
        QCOMPARE(bar->value(), 2);
        // The handler's own reset of the bar to 2 is swallowed: one click, one step, one beep at
        // most.
        bar->triggerAction(arrow == 1 ? QAbstractSlider::SliderSingleStepSub
                                      : QAbstractSlider::SliderSingleStepAdd);
        QCOMPARE(startRow ? w->config().freqStart : w->config().freqStop, expected);
        QCOMPARE(m_fx->messages.beeps - before, beeps);
        QCOMPARE(bar->value(), 2);
        QCOMPARE(child<QLineEdit>(startRow ? QStringLiteral("txtStart") : QStringLiteral("txtStop"))
                     ->text(),
                 fmt(double(expected)));
        QVERIFY(w->findChild<QTimer*>(QStringLiteral("timerUpdateSweep"))->isActive());
    }

    void viewSwitching() {
        frmSweep* w = open(range(1000000, 10000000));
        QVERIFY(w);
        QCOMPARE(w->vistaCorrente(), qint16(0));
        QTest::mouseClick(child<QPushButton>(QStringLiteral("cmdView_1")), Qt::LeftButton);
        QVERIFY(!child<QPushButton>(QStringLiteral("cmdView_1"))->isEnabled());
        QVERIFY(child<QAction>(QStringLiteral("mnuView_1"))->isChecked());
        QVERIFY(!child<QAction>(QStringLiteral("mnuView_0"))->isChecked());
        QVERIFY(!child<QGroupBox>(QStringLiteral("frameView_1"))->isHidden());
        QVERIFY(child<QGroupBox>(QStringLiteral("frameView_0"))->isHidden());
        child<QAction>(QStringLiteral("mnuView_0"))->trigger();
        QVERIFY(child<QPushButton>(QStringLiteral("cmdView_1"))->isEnabled());
        QVERIFY(!child<QPushButton>(QStringLiteral("cmdView_0"))->isEnabled());
        QCOMPARE(w->vistaCorrente(), qint16(0));
        // Only the parallel port has AUX outputs.
        QVERIFY(child<QPushButton>(QStringLiteral("cmdView_2"))->isHidden());
        QVERIFY(!child<QAction>(QStringLiteral("mnuView_3"))->isVisible());
    }

    void storedViewAtStartUp_data() {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<int>("shown");
        QTest::newRow("table") << QStringLiteral("1") << 1;
        QTest::newRow("aux without parallel port") << QStringLiteral("2") << 2;
        QTest::newRow("outside 0..3") << QStringLiteral("7") << 0;
        QTest::newRow("not a number") << QStringLiteral("x") << 0;
    }
    void storedViewAtStartUp() {
        QFETCH(QString, stored);
        QFETCH(int, shown);
        frmSweep* w = open(range(1000000, 10000000, QStringLiteral("Marker 0=%1\n").arg(stored)));
        QVERIFY(w);
        QCOMPARE(int(w->vistaCorrente()), shown);
        QVERIFY(!child<QGroupBox>(QStringLiteral("frameView_%1").arg(shown))->isHidden());
        QVERIFY(!child<QPushButton>(QStringLiteral("cmdView_%1").arg(shown))->isEnabled());
    }

    void samplesToTable_data() {
        QTest::addColumn<QString>("config");
        QTest::addColumn<int>("scale");
        QTest::addColumn<double>("raw");
        QTest::addColumn<double>("level");
        QTest::addColumn<QString>("picture");
        QTest::newRow("200 counts, linear") << QStringLiteral("ADC Step=0.005\nADC Offset=0\n") << 0
                                            << 200.0 << 1.0 << QStringLiteral("#0.000");
        QTest::newRow("200 counts, 1 V log") << QStringLiteral("ADC Step=0.005\nADC Offset=0\n")
                                             << 1 << 200.0 << 0.0 << QStringLiteral("#0.0");
        QTest::newRow("0 counts, linear") << QStringLiteral("ADC Step=0.005\nADC Offset=0\n") << 0
                                          << 0.0 << 0.0 << QStringLiteral("#0.000");
        QTest::newRow("0 counts, 1 V log") << QStringLiteral("ADC Step=0.005\nADC Offset=0\n") << 1
                                           << 0.0 << -100.0 << QStringLiteral("#0.0");
        QTest::newRow("default calibration")
            << QString() << 0 << 512.0 << 5.0 << QStringLiteral("#0.000");
    }
    void samplesToTable() {
        QFETCH(QString, config);
        QFETCH(int, scale);
        QFETCH(double, raw);
        QFETCH(double, level);
        QFETCH(QString, picture);
        QString ini =
            QStringLiteral("[Config]\nInterface=0\nDDS Device=AD9850\nADC Device=10bit\n") +
            config +
            QStringLiteral("[Sweep Generator]\nStart=1000000\nStop=2000000\nScale=%1\n").arg(scale);
        frmSweep* w = open(QString(), ini);
        QVERIFY(w);
        // The devices' layout: element 0 is a discarded read, points 1..400 follow.
        QVector<double> v(406, raw);
        v[0] = raw + 2;
        v[11] = raw + 1;
        w->datiDDS(v);
        QCOMPARE(w->table()->cellText(1, 2), numberToText(raw));
        QCOMPARE(w->table()->cellText(400, 1), formatNumber(level, picture));
        QCOMPARE(w->table()->cellText(11, 2), numberToText(raw + 1));
        QCOMPARE(w->table()->cellText(1, 0), fmt(1000000)); // frequencies stay as built
        // The curve follows once, from the finished table.
        const int before = w->graph()->drawLineCount();
        QTRY_COMPARE(w->graph()->drawLineCount(), before + 1);
        QCOMPARE(w->graph()->curvePointCount(), 400);
    }

    void sampleTextsFollowScaleAndLocale() {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        const QString ini =
            QStringLiteral("[Config]\nInterface=0\nDDS Device=AD9850\nADC Device=10bit\n"
                           "ADC Step=0.005\nADC Offset=0\n[Sweep Generator]\nStart=1000000\n"
                           "Stop=2000000\n");
        frmSweep* w = open(QString(), ini);
        QVERIFY(w);
        const QVector<double> v(406, 300.0);
        w->datiDDS(v);
        QCOMPARE(w->table()->cellText(5, 1), QStringLiteral("1.500"));
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        w->datiDDS(v);
        QCOMPARE(w->table()->cellText(5, 1), QStringLiteral("1,500"));
        // A change of scale converts the kept counts again.
        m_fx->window->findChild<QAction*>(QStringLiteral("mnuScalaLogaritmica1"))->trigger();
        QCOMPARE(w->table()->cellText(0, 1), QStringLiteral("dB"));
        QCOMPARE(w->table()->cellText(5, 1), QStringLiteral("3,5"));
        QCOMPARE(w->table()->cellText(5, 2), QStringLiteral("300"));
    }

    void closingWritesTheKeysInOrder() {
        frmSweep* w = open(range(1000000, 10000000));
        QVERIFY(w);
        // With both sections gone the file shows the order in which the close writes them.
        QVERIFY(removeSectionINI(QStringLiteral("Sweep Generator"), m_fx->ini.path()));
        QVERIFY(removeSectionINI(QStringLiteral("Config"), m_fx->ini.path()));
        w->close();
        QStringList keys;
        bool inside = false;
        const QStringList lines = m_fx->ini.read().split(QLatin1Char('\n'));
        for (const QString& line : lines) {
            if (line.startsWith(QLatin1Char('[')))
                inside = line == QStringLiteral("[Sweep Generator]") ||
                         line == QStringLiteral("[Config]");
            if (inside && !line.isEmpty())
                keys << line.section(QLatin1Char('='), 0, 0);
        }
        QCOMPARE(
            keys.join(QLatin1Char('|')),
            QStringLiteral(
                "[Sweep Generator]|Start|Stop|Marker 0|Marker 1|Marker 2|Marker 3|Marker 4|"
                "Max scaleV|Max scaleDb|Scale|Sweep mode|Aux_1|Aux_2|Pot_2|[Config]|DDS Offset|"
                "ADC Offset"));
    }

    void closingSavesTheWindowState() {
        frmSweep* w =
            open(range(1000000, 10000000, QStringLiteral("Scale=10\nMarker 1=1000000\n")));
        QVERIFY(w);
        typeInto(child<QLineEdit>(QStringLiteral("txtStart")), QStringLiteral("2000000"));
        QTest::mouseClick(child<QPushButton>(QStringLiteral("cmdView_1")), Qt::LeftButton);
        QVERIFY(child<QLineEdit>(QStringLiteral("txtM1X"))->text().size() > 7); // grouped on screen
        QTest::mouseClick(child<QPushButton>(QStringLiteral("cmdExit")), Qt::LeftButton);
        const QString ini = m_fx->ini.read();
        QVERIFY2(ini.contains(QStringLiteral("Start=2000000\n")), qPrintable(ini));
        QVERIFY(ini.contains(QStringLiteral("Marker 0=1\n")));
        QVERIFY(ini.contains(QStringLiteral("Marker 1=1000000\n")));
        QVERIFY(ini.contains(QStringLiteral("Scale=3\n")));
        QVERIFY(ini.contains(QStringLiteral("ADC Offset=")));
    }
};

QTEST_MAIN(TestFrmSweepEntry)
#include "tst_frmsweep_entry.moc"
