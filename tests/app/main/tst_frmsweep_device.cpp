// Whole sweeps through the real device server: tarvex from the build's bin folder with the
// simulated parallel-port board, unpaced. The "ramp" device under test answers each frequency f
// with the converter code floor(f / 10000), so every row can be checked against its frequency.
// Point i of the device's vector (element 0 is not a sample) must land in row i, so every row
// holds exactly the ramp's answer to its own frequency.
#include "NumberFormat.h"
#include "NumberParse.h"
#include "SweepController.h"
#include "SweepDevice.h"
#include "SweepFixture.h"
#include "SweepGraph.h"
#include "SweepTable.h"

#include <QAction>
#include <QFocusEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QProcess>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <csignal>
#include <sys/types.h>

namespace {
constexpr int kWaitMs = 20000;

QStringList rampArgs() {
    return {QStringLiteral("--sim-pace"), QStringLiteral("max"), QStringLiteral("--sim-dut"),
            QStringLiteral("ramp")};
}

double cellNumber(const SweepTable* t, int row, int col) {
    return parseNumber(t->cellText(row, col), ParseFlag::AllowGroupSeparator).value_or(-1);
}

// Every row holds the ramp's answer to its own frequency, give or take the few hertz by which
// the DDS word rounds; the level column is that count converted.
void verifyRampRows(const SweepTable* t) {
    const auto code = [](double f) { return std::min(1023.0, std::floor(f / 10000.0)); };
    for (int row = 1; row <= 400; ++row) {
        const double f = cellNumber(t, row, 0);
        const double raw = cellNumber(t, row, 2);
        const double lo = code(f) - 1;
        const double hi = code(f);
        QVERIFY2(raw >= lo && raw <= hi,
                 qPrintable(QStringLiteral("row %1: %2 Hz read %3").arg(row).arg(f).arg(raw)));
        QCOMPARE(t->cellText(row, 1), formatNumber(raw * 0.005, QStringLiteral("#0.000")));
    }
}
} // namespace

class TestFrmSweepDevice : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<SweepFixture> m_fx;

    frmSweep* open(const QString& sweepSection, const QString& debug = QString()) {
        m_fx = std::make_unique<SweepFixture>();
        m_fx->ini.write(SweepFixture::lptIni(sweepSection) + debug);
        frmSweep* w = m_fx->makeWindow(rampArgs());
        if (!w->load() || !w->deviceBound())
            return nullptr;
        return w;
    }
    // The simulated PIC board with the ramp, the log shown, and what the board saw kept.
    frmSweep* openPic() {
        m_fx = std::make_unique<SweepFixture>();
        m_fx->ini.write(QStringLiteral(
            "[Config]\nInterface=1\nDDS Device=AD9850\nDDS Xtal freq=125000000\n"
            "ADC Device=10bit\nADC Step=0.005\nADC Offset=0\n[Serial Port]\nCommPort=4\n"
            "Device=sim:pic\n[Debug]\nLog=1\n[Sweep Generator]\nStart=1000000\nStop=5000000\n"));
        frmSweep* w = m_fx->makeWindow(rampArgs() << QStringLiteral("--sim-log") << simLogPath());
        if (!w->load() || !w->deviceBound())
            return nullptr;
        return w;
    }
    QString simLogPath() const { return m_fx->ini.filePath(QStringLiteral("hardware.log")); }
    QStringList simLog() const {
        QFile f(simLogPath());
        if (!f.open(QIODevice::ReadOnly))
            return {};
        return QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    }
    QPushButton* button(const char* name) {
        return m_fx->window->findChild<QPushButton*>(QLatin1String(name));
    }
    QString logText() {
        QStringList lines;
        auto* list = m_fx->window->findChild<QListWidget*>(QStringLiteral("lstLOG"));
        for (int i = 0; i < list->count(); ++i)
            lines << list->item(i)->text();
        return lines.join(QLatin1Char('\n'));
    }

private slots:
    void cleanup() {
        if (m_fx && m_fx->window && QTest::currentTestFailed())
            qWarning().noquote() << "lstLOG:\n" << logText();
        if (m_fx && m_fx->window)
            m_fx->window->close();
        m_fx.reset();
    }

    void sweepOnFillsTheTableAndSweepOffReturnsToIdle() {
        frmSweep* w = open(QStringLiteral("Start=1000000\nStop=5000000\n"));
        QVERIFY2(w, qPrintable(m_fx->messages.lastText()));
        QCOMPARE(w->windowTitle(), QStringLiteral("Orvane - Sweep Generator  v2.0 - AD9851"));
        QVERIFY(m_fx->messages.shown.isEmpty());
        QSignalSpy sweeps(w, &frmSweep::sweepReceived);
        const int drawn = w->graph()->drawLineCount();

        QTest::mouseClick(button("cmdStart"), Qt::LeftButton);
        QCOMPARE(w->statoSweep(), qint16(4));
        QVERIFY(button("cmdStart")->isHidden());
        QVERIFY(!button("cmdStop")->isHidden());
        QVERIFY(!w->findChild<QAction*>(QStringLiteral("mnuSaveCSV"))->isEnabled());
        QVERIFY(!w->findChild<QMenu*>(QStringLiteral("mnuSetUp"))->menuAction()->isEnabled());

        QTRY_VERIFY_WITH_TIMEOUT(sweeps.count() >= 2, kWaitMs);
        verifyRampRows(w->table());
        QTRY_VERIFY_WITH_TIMEOUT(w->graph()->drawLineCount() > drawn, kWaitMs);
        QCOMPARE(w->graph()->curvePointCount(), 400);
        // A repaint while sweeps run shows the picture as drawn; it does not draw the curve.
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w));
        int drawnNow = w->graph()->drawLineCount();
        w->graph()->repaint();
        QCOMPARE(w->graph()->drawLineCount(), drawnNow);

        QTest::mouseClick(button("cmdStop"), Qt::LeftButton);
        QCOMPARE(w->statoSweep(), qint16(2));
        QVERIFY(
            !button("cmdStop")->isHidden()); // only the device's end report restores the buttons
        QTRY_COMPARE_WITH_TIMEOUT(w->statoSweep(), qint16(0), kWaitMs);
        QVERIFY(!button("cmdStart")->isHidden());
        QVERIFY(button("cmdStop")->isHidden());
        // Between sweeps a repaint draws the curve from the table. The last sweep's 100 ms
        // drawing and its own paint go first, or the repaint would be taken for that paint.
        QTest::qWait(250);
        drawnNow = w->graph()->drawLineCount();
        w->graph()->repaint();
        QCOMPARE(w->graph()->drawLineCount(), drawnNow + 1);
        QVERIFY(w->findChild<QAction*>(QStringLiteral("mnuSaveCSV"))->isEnabled());
        QVERIFY(w->findChild<QMenu*>(QStringLiteral("mnuSetUp"))->menuAction()->isEnabled());
        QVERIFY(m_fx->messages.shown.isEmpty());

        // A second start after the end report runs again.
        QTest::mouseClick(button("cmdStart"), Qt::LeftButton);
        const int before = sweeps.count();
        QTRY_VERIFY_WITH_TIMEOUT(sweeps.count() > before, kWaitMs);
        QTest::mouseClick(button("cmdStop"), Qt::LeftButton);
        QTRY_COMPARE_WITH_TIMEOUT(w->statoSweep(), qint16(0), kWaitMs);
    }

    void downwardSweep() {
        frmSweep* w = open(QStringLiteral("Start=2000000\nStop=1000000\n"));
        QVERIFY2(w, qPrintable(m_fx->messages.lastText()));
        QSignalSpy sweeps(w, &frmSweep::sweepReceived);
        QTest::mouseClick(button("cmdStart"), Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(sweeps.count() >= 1, kWaitMs);
        QCOMPARE(w->freqStep(), -2500);
        QCOMPARE(cellNumber(w->table(), 400, 0), 1002500.0);
        verifyRampRows(w->table());
        QVERIFY(cellNumber(w->table(), 2, 2) > cellNumber(w->table(), 400, 2));
        QTest::mouseClick(button("cmdStop"), Qt::LeftButton);
        QTRY_COMPARE_WITH_TIMEOUT(w->statoSweep(), qint16(0), kWaitMs);
    }

    void rangeEditReinitialisesTheRunningSweep() {
        frmSweep* w = open(QStringLiteral("Start=1000000\nStop=5000000\n"),
                           QStringLiteral("[Debug]\nLog=1\n"));
        QVERIFY2(w, qPrintable(m_fx->messages.lastText()));
        QSignalSpy sweeps(w, &frmSweep::sweepReceived);
        QTest::mouseClick(button("cmdStart"), Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(sweeps.count() >= 1, kWaitMs);

        typeInto(w->findChild<QLineEdit*>(QStringLiteral("txtStart")), QStringLiteral("3000000"));
        QTRY_VERIFY_WITH_TIMEOUT(
            logText().contains(QStringLiteral("L> Start/step sweep reinizializzati")), kWaitMs);
        QCOMPARE(w->statoSweep(), qint16(4));
        QCOMPARE(w->freqStep(), 5000);
        QCOMPARE(cellNumber(w->table(), 1, 0), 3000000.0);
        // The loop goes on with the new range: no end report in between. Vectors already on
        // their way still carry the old range; the next passes carry the new one.
        QTRY_VERIFY_WITH_TIMEOUT(std::abs(cellNumber(w->table(), 2, 2) - 300) <= 2, kWaitMs);
        const int before = sweeps.count();
        QTRY_VERIFY_WITH_TIMEOUT(sweeps.count() > before, kWaitMs);
        verifyRampRows(w->table());
        QVERIFY(!logText().contains(QStringLiteral("L> Stop sweep")));
        QVERIFY(logText().contains(QStringLiteral("L> Start sweep")));

        QTest::mouseClick(button("cmdStop"), Qt::LeftButton);
        QTRY_COMPARE_WITH_TIMEOUT(w->statoSweep(), qint16(0), kWaitMs);
        QVERIFY(logText().contains(QStringLiteral("L> Stop sweep")));
    }

    void narrowRangeDuringSweepIsWidened() {
        frmSweep* w = open(QStringLiteral("Start=1000000\nStop=5000000\n"));
        QVERIFY2(w, qPrintable(m_fx->messages.lastText()));
        QSignalSpy sweeps(w, &frmSweep::sweepReceived);
        QTest::mouseClick(button("cmdStart"), Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(sweeps.count() >= 1, kWaitMs);
        typeInto(w->findChild<QLineEdit*>(QStringLiteral("txtStop")), QStringLiteral("1000200"));
        QTRY_VERIFY_WITH_TIMEOUT(!m_fx->messages.shown.isEmpty(), kWaitMs);
        QCOMPARE(m_fx->messages.lastText(),
                 QStringLiteral(
                     "Minimum sweeping range is 400 Hz.\n\nStop frequency will be set to %1 Hz")
                     .arg(formatNumber(1000400, QStringLiteral("###,###,##0"))));
        QCOMPARE(w->config().freqStop, 1000400);
        QCOMPARE(w->freqStep(), 1);
        QTest::mouseClick(button("cmdStop"), Qt::LeftButton);
        QTRY_COMPARE_WITH_TIMEOUT(w->statoSweep(), qint16(0), kWaitMs);
    }

    void deadServerDuringSweepReturnsToIdle() {
        frmSweep* w = open(QStringLiteral("Start=1000000\nStop=5000000\n"));
        QVERIFY2(w, qPrintable(m_fx->messages.lastText()));
        QSignalSpy sweeps(w, &frmSweep::sweepReceived);
        QTest::mouseClick(button("cmdStart"), Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(sweeps.count() >= 1, kWaitMs);
        QVERIFY(m_fx->messages.shown.isEmpty());

        // The server dies without a word (as after a crash).
        QVERIFY(w->serverPid() > 0);
        QCOMPARE(::kill(static_cast<pid_t>(w->serverPid()), SIGKILL), 0);
        QTRY_COMPARE_WITH_TIMEOUT(w->statoSweep(), qint16(0), kWaitMs);
        QVERIFY(!button("cmdStart")->isHidden());
        QVERIFY(button("cmdStop")->isHidden());
        QCOMPARE(m_fx->messages.shown.size(), 1);
        QVERIFY2(
            m_fx->messages.lastText().contains(QStringLiteral("tarvex stopped during the sweep")),
            qPrintable(m_fx->messages.lastText()));
        QVERIFY(!w->deviceBound());

        // The window goes on without hardware and never hangs.
        QTest::mouseClick(button("cmdStart"), Qt::LeftButton);
        QTest::mouseClick(button("cmdStop"), Qt::LeftButton);
        QCOMPARE(w->statoSweep(), qint16(0));
        w->close();
        QVERIFY(m_fx->ini.read().contains(QStringLiteral("Start=1000000")));
    }

    void serialDevicesRestartOnRangeEdit_data() {
        QTest::addColumn<int>("itf");
        QTest::addColumn<QString>("port");
        QTest::addColumn<QString>("prefix");
        QTest::addColumn<QString>("caption");
        QTest::newRow("PIC board") << 1 << QStringLiteral("sim:pic") << QStringLiteral("P> ")
                                   << QStringLiteral("Orvane - Sweep Generator  v2.0 - AD9850");
        QTest::newRow("MiniVNA") << 3 << QStringLiteral("sim:vna") << QStringLiteral("V> ")
                                 << QStringLiteral("Orvane - Sweep Generator  v2.0 - MiniVNA");
    }
    void serialDevicesRestartOnRangeEdit() {
        QFETCH(int, itf);
        QFETCH(QString, port);
        QFETCH(QString, prefix);
        QFETCH(QString, caption);
        m_fx = std::make_unique<SweepFixture>();
        m_fx->ini.write(
            QStringLiteral(
                "[Config]\nInterface=%1\nDDS Device=AD9850\nDDS Xtal freq=125000000\n"
                "ADC Device=10bit\nADC Step=0.005\nADC Offset=0\n[Serial Port]\nCommPort=4\n"
                "Device=%2\n[Debug]\nLog=1\n[Sweep Generator]\nStart=1000000\nStop=5000000\n")
                .arg(itf)
                .arg(port));
        frmSweep* w = m_fx->makeWindow(rampArgs());
        QVERIFY(w->load());
        QVERIFY2(m_fx->messages.shown.isEmpty(), qPrintable(m_fx->messages.lastText()));
        QCOMPARE(w->windowTitle(), caption);
        QSignalSpy sweeps(w, &frmSweep::sweepReceived);
        QTest::mouseClick(button("cmdStart"), Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(sweeps.count() >= 1, kWaitMs);

        // The serial devices cannot take a new range mid-loop: the sweep ends and starts again.
        typeInto(w->findChild<QLineEdit*>(QStringLiteral("txtStart")), QStringLiteral("2000000"));
        QTRY_VERIFY_WITH_TIMEOUT(logText().count(prefix + QStringLiteral("Start sweep")) == 2,
                                 kWaitMs);
        QVERIFY(logText().contains(prefix + QStringLiteral("Stop sweep")));
        QCOMPARE(w->statoSweep(), qint16(4));
        QCOMPARE(cellNumber(w->table(), 1, 0), 2000000.0);
        const int before = sweeps.count();
        QTRY_VERIFY_WITH_TIMEOUT(sweeps.count() > before, kWaitMs);
        QVERIFY(!button("cmdStop")->isHidden());

        QTest::mouseClick(button("cmdStop"), Qt::LeftButton);
        QTRY_COMPARE_WITH_TIMEOUT(w->statoSweep(), qint16(0), kWaitMs);
        QVERIFY(!button("cmdStart")->isHidden());
        QVERIFY(m_fx->messages.shown.isEmpty());
    }

    // "Sweep OFF" pressed while a range edit is on its way to the device (the click itself
    // takes the focus out of a frequency field, which arms the re-apply): the stop holds. The
    // re-apply fires while the stop is still under way; the new start frequency reaches the
    // generator once the loop has ended, as while idle, and on the parallel port the table and
    // the curve of the last sweep stay.
    void sweepOffHoldsWhenAnEditIsReapplied_data() {
        QTest::addColumn<int>("itf");
        QTest::newRow("PIC board") << 1;
        QTest::newRow("parallel port") << 2;
    }
    void sweepOffHoldsWhenAnEditIsReapplied() {
        QFETCH(int, itf);
        const QString prefix = itf == 1 ? QStringLiteral("P> ") : QStringLiteral("L> ");
        frmSweep* w = itf == 1 ? openPic()
                               : open(QStringLiteral("Start=1000000\nStop=5000000\n"),
                                      QStringLiteral("[Debug]\nLog=1\n"));
        QVERIFY2(w, qPrintable(m_fx->messages.lastText()));
        QSignalSpy sweeps(w, &frmSweep::sweepReceived);
        QTest::mouseClick(button("cmdStart"), Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(sweeps.count() >= 1, kWaitMs);
        QTRY_COMPARE_WITH_TIMEOUT(w->graph()->curvePointCount(), 400, kWaitMs);

        typeInto(w->findChild<QLineEdit*>(QStringLiteral("txtStart")), QStringLiteral("3000000"));
        QTest::mouseClick(button("cmdStop"), Qt::LeftButton);
        QCOMPARE(w->statoSweep(), qint16(2));
        // The re-apply timer's tick before the device has reported the end of its loop.
        w->controller()->timerUpdateSweep_Timer();
        QTRY_COMPARE_WITH_TIMEOUT(w->statoSweep(), qint16(0), kWaitMs);
        QTest::qWait(2000);
        QCOMPARE(w->statoSweep(), qint16(0));
        QCOMPARE(logText().count(prefix + QStringLiteral("Start sweep")), 1);
        QVERIFY(!button("cmdStart")->isHidden());
        QVERIFY(button("cmdStop")->isHidden());
        QVERIFY(!logText().contains(QStringLiteral("reinizializzati")));
        QCOMPARE(w->config().freqStart, 3000000);
        // The last sweep is still shown: range 1 MHz to 5 MHz, its readings, the curve.
        QCOMPARE(cellNumber(w->table(), 1, 0), 1000000.0);
        QVERIFY(cellNumber(w->table(), 2, 2) > 0);
        if (itf == 2)
            verifyRampRows(w->table());
        QCOMPARE(w->graph()->curvePointCount(), 400);
        QVERIFY(m_fx->messages.shown.isEmpty());
        if (itf == 1) {
            w->close();
            QVERIFY2(simLog().contains(QStringLiteral("pic: B 3000000")),
                     qPrintable(simLog().join(QLatin1Char('|'))));
        }
    }

    // "Sweep OFF" pressed while a restart after a range edit waits for the end of the running
    // pass: no new sweep follows.
    void sweepOffDuringARestartsWaitHolds() {
        frmSweep* w = openPic();
        QVERIFY2(w, qPrintable(m_fx->messages.lastText()));
        QSignalSpy sweeps(w, &frmSweep::sweepReceived);
        QTest::mouseClick(button("cmdStart"), Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(sweeps.count() >= 1, kWaitMs);

        // The board's end-of-loop line arrives inside the restart's wait: "Sweep OFF" then.
        bool pressedInWait = false;
        auto* log = w->findChild<QListWidget*>(QStringLiteral("lstLOG"));
        QObject hook;
        connect(log->model(), &QAbstractItemModel::rowsInserted, &hook, [&] {
            if (pressedInWait || !log->item(log->count() - 1)
                                      ->text()
                                      .endsWith(QStringLiteral("P> fine ciclo sweep")))
                return;
            pressedInWait = w->statoSweep() == 4 && !button("cmdStop")->isHidden();
            QTest::mouseClick(button("cmdStop"), Qt::LeftButton);
        });
        typeInto(w->findChild<QLineEdit*>(QStringLiteral("txtStart")), QStringLiteral("2000000"));
        QTRY_VERIFY_WITH_TIMEOUT(logText().contains(QStringLiteral("P> Stop sweep")), kWaitMs);
        QVERIFY(pressedInWait);
        QTest::qWait(2000);
        QCOMPARE(w->statoSweep(), qint16(0));
        QCOMPARE(logText().count(QStringLiteral("P> Start sweep")), 1);
        QVERIFY(!button("cmdStart")->isHidden());
        QVERIFY(button("cmdStop")->isHidden());
        QVERIFY(w->findChild<QAction*>(QStringLiteral("mnuSaveCSV"))->isEnabled());
    }

    // "Sweep ON" pressed while a short device call (here the test panel's "F.dds") waits for
    // its reply: the sweep starts once the call has returned.
    void sweepOnDuringAShortDeviceCallStarts() {
        frmSweep* w = open(QStringLiteral("Start=1000000\nStop=5000000\n"),
                           QStringLiteral("[Debug]\nLog=1\n"));
        QVERIFY2(w, qPrintable(m_fx->messages.lastText()));
        QSignalSpy sweeps(w, &frmSweep::sweepReceived);
        // A reply may come before the call waits at all: then the press is tried again.
        bool insideCall = false;
        for (int attempt = 0; attempt < 20 && !insideCall; ++attempt) {
            QObject hook;
            QTimer::singleShot(0, &hook, [&] {
                if (!w->controller()->device()->isWaiting())
                    return;
                insideCall = true;
                QTest::mouseClick(button("cmdStart"), Qt::LeftButton);
            });
            QTest::mouseClick(button("cmdFreqDDS"), Qt::LeftButton);
        }
        QVERIFY(insideCall);
        QTRY_VERIFY_WITH_TIMEOUT(sweeps.count() >= 1, kWaitMs);
        QCOMPARE(w->statoSweep(), qint16(4));
        QVERIFY(button("cmdStart")->isHidden());
        QVERIFY(!button("cmdStop")->isHidden());
        QCOMPARE(logText().count(QStringLiteral("L> Start sweep")), 1);
        QTest::mouseClick(button("cmdStop"), Qt::LeftButton);
        QTRY_COMPARE_WITH_TIMEOUT(w->statoSweep(), qint16(0), kWaitMs);
    }

    void wrongSerialPort_data() {
        QTest::addColumn<int>("itf");
        QTest::newRow("PIC board") << 1;
        QTest::newRow("MiniVNA") << 3;
    }
    void wrongSerialPort() {
        QFETCH(int, itf);
        m_fx = std::make_unique<SweepFixture>();
        m_fx->ini.write(
            QStringLiteral(
                "[Config]\nInterface=%1\nDDS Device=AD9850\nADC Device=10bit\n[Serial Port]\n"
                "CommPort=7\nDevice=/nonexistent/ttyUSB9\n[Sweep Generator]\nStart=1000000\n"
                "Stop=5000000\n")
                .arg(itf));
        frmSweep* w = m_fx->makeWindow(rampArgs());
        QVERIFY(w->load());
        // Only the port message, never "DDS not initialized" after it.
        QCOMPARE(m_fx->messages.shown.size(), 1);
        QCOMPARE(
            m_fx->messages.lastText(),
            QStringLiteral(
                "Wrong serial port number (COM7).\nPlease verify 'SetUp/Configuration/Ports'."));
        QCOMPARE(m_fx->messages.shown.last().second, QMessageBox::Warning);
        QCOMPARE(m_fx->messages.beeps, 1);
    }

    void closingWhileSweepingStopsTheDevice() {
        frmSweep* w = open(QStringLiteral("Start=1000000\nStop=5000000\n"));
        QVERIFY2(w, qPrintable(m_fx->messages.lastText()));
        QSignalSpy sweeps(w, &frmSweep::sweepReceived);
        QTest::mouseClick(button("cmdStart"), Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(sweeps.count() >= 1, kWaitMs);
        typeInto(w->findChild<QLineEdit*>(QStringLiteral("txtStop")), QStringLiteral("6000000"));
        w->close();
        QVERIFY(m_fx->ini.read().contains(QStringLiteral("Stop=6000000\n")));
        QVERIFY(!w->deviceBound());
        QVERIFY(m_fx->messages.shown.isEmpty());
    }

    // A range or offset the generator cannot take: the device says so at the set-up, the window
    // starts nothing, stays idle and tells what is wrong and what to change. sweep --sweeps prints
    // the device's lines on stderr and fails at once.
    void rangeTheGeneratorCannotTakeIsExplained_data() {
        QTest::addColumn<QString>("config");
        QTest::addColumn<QString>("range");
        QTest::addColumn<QString>("hint");
        QTest::addColumn<QString>("device");
        // A stored negative start or stop is brought to 0 Hz when read; an offset can still
        // take the generator out of its range.
        QTest::newRow("offset -1e300")
            << QStringLiteral("DDS Offset=-1e300\n")
            << QStringLiteral("Start=1000000\nStop=5000000\n") << QStringLiteral("the DDS offset")
            << QStringLiteral("sotto 0");
    }
    void rangeTheGeneratorCannotTakeIsExplained() {
        QFETCH(QString, config);
        QFETCH(QString, range);
        QFETCH(QString, hint);
        QFETCH(QString, device);
        QString ini = SweepFixture::lptIni(range);
        // Later keys of the same name are not read: the row's keys replace the fixture's.
        for (const QString& line : config.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
            const QString key = line.section(QLatin1Char('='), 0, 0);
            const qsizetype at = ini.indexOf(key + QLatin1Char('='));
            ini.replace(at, ini.indexOf(QLatin1Char('\n'), at) - at, line);
        }
        m_fx = std::make_unique<SweepFixture>();
        m_fx->ini.write(ini);
        frmSweep* w = m_fx->makeWindow(rampArgs());
        QVERIFY(w->load() && w->deviceBound());
        QVERIFY2(m_fx->messages.shown.isEmpty(), qPrintable(m_fx->messages.lastText()));
        QSignalSpy sweeps(w, &frmSweep::sweepReceived);

        QTest::mouseClick(button("cmdStart"), Qt::LeftButton);
        QCOMPARE(w->statoSweep(), qint16(0));
        QVERIFY(!button("cmdStart")->isHidden());
        QVERIFY(button("cmdStop")->isHidden());
        QCOMPARE(m_fx->messages.shown.size(), 1);
        QCOMPARE(m_fx->messages.shown.last().second, QMessageBox::Warning);
        QCOMPARE(m_fx->messages.beeps, 1);
        const QString text = m_fx->messages.lastText();
        QVERIFY2(text.startsWith(QStringLiteral("The sweep cannot start")), qPrintable(text));
        QVERIFY2(text.contains(hint), qPrintable(text));
        QVERIFY2(text.contains(QStringLiteral("L> Sweep non inizializzato: ")), qPrintable(text));
        QVERIFY2(text.contains(device), qPrintable(text));
        QTest::qWait(300);
        QCOMPARE(sweeps.count(), 0);
        QVERIFY(w->deviceBound());

        w->close();
        m_fx->window.reset();

        // The same configuration unattended: the lines on stderr, a failure without waiting.
        QTemporaryDir runtime;
        QVERIFY(runtime.isValid());
        m_fx->ini.write(ini);
        QProcess sweep;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime.path());
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        sweep.setProcessEnvironment(env);
        sweep.start(QCoreApplication::applicationDirPath() + QStringLiteral("/sweep"),
                    {QStringLiteral("--config"), m_fx->ini.path(), QStringLiteral("--sweeps"),
                     QStringLiteral("1")});
        QVERIFY(sweep.waitForFinished(60000));
        const QString err = QString::fromLocal8Bit(sweep.readAllStandardError());
        QCOMPARE(sweep.exitCode(), 1);
        const QStringList lines = err.split(QLatin1Char('\n'));
        const auto deviceLine = [&](const QString& l) {
            return l.startsWith(QStringLiteral("sweep: L> Sweep non inizializzato: ")) &&
                   l.contains(device);
        };
        QVERIFY2(std::any_of(lines.begin(), lines.end(), deviceLine), qPrintable(err));
        QVERIFY2(err.contains(QStringLiteral("sweep: the sweep did not start")), qPrintable(err));
        QVERIFY2(!QString::fromLocal8Bit(sweep.readAllStandardOutput())
                      .contains(QStringLiteral("sweep 1:")),
                 qPrintable(err));
    }
};

QTEST_MAIN(TestFrmSweepDevice)
#include "tst_frmsweep_device.moc"
