// The window against the real tarvex and its simulated hardware, in the situations a new user
// met: a parallel port that did not open, a close while a message box of a sequence is open, a
// silent PIC board, the MiniVNA's binding without a port and its inverted readings, the rate
// labels and the generator set back after a sweep. A failing test prints the window's log.
#include "NumberFormat.h"
#include "NumberParse.h"
#include "SignalCloser.h"
#include "SweepFixture.h"
#include "SweepTable.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QProcess>
#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>
#include <csignal>

namespace {
constexpr int kWaitMs = 20000;

QString binDir() {
    return qEnvironmentVariable("SWEEP_BIN_DIR");
}

QString serialIni(int itf, const QString& device, const QString& extra = QString()) {
    return QStringLiteral("[Config]\nInterface=%1\nDDS Device=AD9850\nDDS Xtal freq=125000000\n"
                          "ADC Device=10bit\nADC Step=0.005\nADC Offset=0\n%3[Serial Port]\n"
                          "CommPort=5\nDevice=%2\n[Debug]\nLog=1\n[Sweep Generator]\n"
                          "Start=1000000\nStop=5000000\n")
        .arg(itf)
        .arg(device, extra);
}
} // namespace

class TestFrmSweepHardware : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<SweepFixture> m_fx;

    frmSweep* open(const QString& ini, const QStringList& serverArgs = {
                                           QStringLiteral("--sim-pace"), QStringLiteral("max"),
                                           QStringLiteral("--sim-dut"), QStringLiteral("ramp")}) {
        m_fx = std::make_unique<SweepFixture>();
        m_fx->ini.write(ini);
        frmSweep* w = m_fx->makeWindow(serverArgs);
        return w->load() ? w : nullptr;
    }
    template <typename T> T* child(const char* name) {
        return m_fx->window->findChild<T*>(QLatin1String(name));
    }
    QStringList logLines() {
        QStringList lines;
        auto* list = child<QListWidget>("lstLOG");
        for (int i = 0; list && i < list->count(); ++i)
            lines << list->item(i)->text();
        return lines;
    }
    double cell(int row, int col) {
        return parseNumber(m_fx->window->table()->cellText(row, col),
                           ParseFlag::AllowGroupSeparator)
            .value_or(-1);
    }

private slots:
    void cleanup() {
        if (m_fx && m_fx->window) {
            if (QTest::currentTestFailed())
                qWarning().noquote() << "lstLOG:\n"
                                     << logLines().join(QLatin1Char('\n'))
                                     << "\nmessages:" << m_fx->messages.lastText();
            m_fx->window->close();
        }
        m_fx.reset();
    }

    void parallelPortThatDidNotOpenStillReturnsToIdle() {
        // No parallel port answers at base address 0x10: the binding fails, the window runs.
        QString ini = SweepFixture::lptIni(QStringLiteral("Start=1000000\nStop=5000000\n")) +
                      QStringLiteral("[Debug]\nLog=1\n");
        ini.replace(QStringLiteral("LPT=&H378\nDriver=sim"),
                    QStringLiteral("LPT=&H10\nDriver=ppdev"));
        frmSweep* w = open(ini);
        QVERIFY(w);
        QVERIFY(w->deviceBound());
        QVERIFY2(
            m_fx->messages.lastText().startsWith(QStringLiteral("Parallel port not initialized.")),
            qPrintable(m_fx->messages.lastText()));

        QTest::mouseClick(child<QPushButton>("cmdStart"), Qt::LeftButton);
        // The device refuses the start and reports the end of the loop: the window is idle
        // again, and "Sweep OFF" would have had nothing to wait for.
        QTRY_COMPARE_WITH_TIMEOUT(w->statoSweep(), qint16(0), kWaitMs);
        QVERIFY(!child<QPushButton>("cmdStart")->isHidden());
        QVERIFY(child<QPushButton>("cmdStop")->isHidden());
        QVERIFY(child<QMenu>("mnuSetUp")->menuAction()->isEnabled());
        QVERIFY(logLines().contains(QStringLiteral("L> Stop sweep")));
        // And again: every press ends the same way.
        QTest::mouseClick(child<QPushButton>("cmdStart"), Qt::LeftButton);
        QTRY_COMPARE_WITH_TIMEOUT(w->statoSweep(), qint16(0), kWaitMs);
        QVERIFY(child<QMenu>("mnuSetUp")->menuAction()->isEnabled());
    }

    void sigtermWhileAMessageOfASequenceIsOpen() {
        frmSweep* w = open(SweepFixture::lptIni(QStringLiteral("Start=1000000\nStop=5000000\n")) +
                           QStringLiteral("[Debug]\nLog=1\n"));
        QVERIFY(w);
        SignalCloser closer(w);
        QSignalSpy closed(w, &frmSweep::closed);
        QSignalSpy sweeps(w, &frmSweep::sweepReceived);
        w->show();
        QTest::mouseClick(child<QPushButton>("cmdStart"), Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(sweeps.count() >= 1, kWaitMs);

        // The re-apply of a range below 400 Hz shows the minimum-range message; SIGTERM comes
        // while it is open and is served by the box's own event loop.
        int logAtSignal = -1;
        m_fx->messages.whileShown = [&] {
            logAtSignal = int(logLines().size());
            ::raise(SIGTERM);
            QCoreApplication::processEvents();
        };
        typeInto(child<QLineEdit>("txtStop"), QStringLiteral("1000200"));
        QTRY_COMPARE_WITH_TIMEOUT(closed.count(), 1, kWaitMs);
        QVERIFY(logAtSignal >= 0);
        QVERIFY(!w->deviceBound());
        QVERIFY2(m_fx->ini.read().contains(QStringLiteral("Stop=1000400\n")),
                 qPrintable(m_fx->ini.read()));
        // Nothing of the interrupted re-apply reached the device; the shutdown did, in order.
        const QStringList after = logLines().mid(logAtSignal);
        QVERIFY2(!after.contains(QStringLiteral("0 L> Start/Step inizializzati")),
                 qPrintable(after.join(QLatin1Char('|'))));
        const int stopLine = int(after.indexOf(QStringLiteral("L> Stop sweep")));
        const int closeLine = int(after.indexOf(QStringLiteral("0 L> LPTport chiusa")));
        QVERIFY2(closeLine >= 0, qPrintable(after.join(QLatin1Char('|'))));
        QVERIFY(stopLine < closeLine);
    }

    void silentPicBoardKeepsTheWindowAliveAndClosable() {
        QTemporaryDir dir;
        const QString link = dir.filePath(QStringLiteral("ttyPIC"));
        QProcess sim;
        sim.start(binDir() + QStringLiteral("/sweep-sim"),
                  {QStringLiteral("pic"), QStringLiteral("--link"), link, QStringLiteral("--baud"),
                   QStringLiteral("0"), QStringLiteral("--fault"), QStringLiteral("noreply")});
        QVERIFY2(sim.waitForReadyRead(5000), qPrintable(sim.errorString()));

        // The binding waits for the silent board; the window's events run meanwhile.
        int ticks = 0;
        QTimer ticker;
        connect(&ticker, &QTimer::timeout, this, [&ticks] { ++ticks; });
        ticker.start(100);
        frmSweep* w = open(serialIni(1, link), {});
        QVERIFY(w);
        QVERIFY2(ticks >= 10, qPrintable(QString::number(ticks)));
        QCOMPARE(m_fx->messages.lastText(),
                 QStringLiteral("DDS not initialized\nVerify the serial interface."));
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w));

        // "Sweep ON": the sweep set-up waits for the board. Inside that wait the window says
        // so, a second start is refused, and a close takes effect at once.
        QSignalSpy closed(w, &frmSweep::closed);
        bool waitingShown = false;
        int startsInside = -1;
        QElapsedTimer sinceClose;
        QTimer::singleShot(1500, this, [&] {
            waitingShown = child<QLabel>("lblWaiting")->isVisible() &&
                           !child<QPushButton>("cmdStart")->isEnabled();
            const int before = int(logLines().count(QStringLiteral("P> Start sweep")));
            w->cmdStart_Click();
            startsInside = int(logLines().count(QStringLiteral("P> Start sweep"))) - before;
            sinceClose.start();
            w->close();
        });
        QTest::mouseClick(child<QPushButton>("cmdStart"), Qt::LeftButton);
        const qint64 unwound = sinceClose.elapsed();
        QVERIFY(waitingShown);
        QCOMPARE(startsInside, 0);
        QVERIFY2(unwound < 1000, qPrintable(QString::number(unwound)));
        QVERIFY(!w->isVisible());
        QTRY_COMPARE_WITH_TIMEOUT(closed.count(), 1, kWaitMs);
        QVERIFY(m_fx->ini.read().contains(QStringLiteral("Start=1000000\n")));
        sim.terminate();
        sim.waitForFinished();
    }

    void closingWhileThePicBoardSweepsStopsThenSetsTheGeneratorThenClosesThePort() {
        QTemporaryDir dir;
        const QString simLog = dir.filePath(QStringLiteral("hardware.log"));
        frmSweep* w = open(serialIni(1, QStringLiteral("sim:pic")),
                           {QStringLiteral("--sim-pace"), QStringLiteral("max"),
                            QStringLiteral("--sim-log"), simLog});
        QVERIFY(w);
        QSignalSpy sweeps(w, &frmSweep::sweepReceived);
        QTest::mouseClick(child<QPushButton>("cmdStart"), Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(sweeps.count() >= 1, kWaitMs);
        w->close();
        QFile f(simLog);
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QStringList seen =
            QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        // What the board saw last: the generator set to the start frequency, the end command
        // of the port's closing, the port closed.
        QVERIFY2(seen.size() >= 3, qPrintable(seen.join(QLatin1Char('|'))));
        QCOMPARE(seen.first(), QStringLiteral("pic: port open"));
        QCOMPARE(seen.mid(seen.size() - 3),
                 (QStringList{QStringLiteral("pic: A 1000000"), QStringLiteral("pic: E"),
                              QStringLiteral("pic: port closed")}));
    }

    void miniVnaBindsWithoutItsPortAndInvertsTheDutReading() {
        // Without a port the analyser still gets clock, multiplier, offset, measurement kind
        // (2: return loss) and the start frequency, in that order.
        frmSweep* w = open(serialIni(3, QStringLiteral("/nonexistent/ttyUSB7"),
                                     QStringLiteral("ADC Channel=2\nDDS Multiplier=1\n")));
        QVERIFY(w);
        QCOMPARE(
            m_fx->messages.lastText(),
            QStringLiteral(
                "Wrong serial port number (COM5).\nPlease verify 'SetUp/Configuration/Ports'."));
        // The binding's log lines arrive once its calls have returned.
        QTRY_VERIFY_WITH_TIMEOUT(
            logLines().join(QLatin1Char('|')).contains(QStringLiteral("0 V> Return loss: ")),
            kWaitMs);
        const QStringList lines = logLines();
        const auto at = [&lines](const QString& start) {
            for (int i = 0; i < lines.size(); ++i)
                if (lines[i].startsWith(start))
                    return i;
            return -1;
        };
        const int clock = at(QStringLiteral("0 V> CLK Ref: 125000000"));
        const int mult = at(QStringLiteral("0 V> CLK Mult: 1"));
        const int offset = at(QStringLiteral("0 V> Freq offset: 0"));
        const int freq = at(QStringLiteral("0 V> New freq: "));
        const int kind = at(QStringLiteral("0 V> Return loss: "));
        QVERIFY2(clock >= 0 && clock < mult && mult < offset && offset < freq && freq < kind,
                 qPrintable(lines.join(QLatin1Char('|'))));
        w->close();

        // Measuring the DUT (channel 3): the window stores 1024 minus the received reading
        // and the test panel's measure button reads "DUT".
        // The analyser's DDS runs from 100 MHz.
        QString ini = serialIni(3, QStringLiteral("sim:vna"), QStringLiteral("ADC Channel=3\n"));
        ini.replace(QStringLiteral("DDS Xtal freq=125000000"),
                    QStringLiteral("DDS Xtal freq=100000000"));
        w = open(ini);
        QVERIFY(w);
        QCOMPARE(child<QPushButton>("cmdMisura")->text(), QStringLiteral("DUT"));
        QSignalSpy sweeps(w, &frmSweep::sweepReceived);
        QTest::mouseClick(child<QPushButton>("cmdStart"), Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(sweeps.count() >= 1, kWaitMs);
        for (int row : {1, 200, 400}) {
            const double received = std::floor(cell(row, 0) / 10000.0);
            QVERIFY2(std::abs(cell(row, 2) - (1024 - received)) <= 1,
                     qPrintable(QStringLiteral("row %1: %2").arg(row).arg(cell(row, 2))));
        }
        QTest::mouseClick(child<QPushButton>("cmdStop"), Qt::LeftButton);
        QTRY_COMPARE_WITH_TIMEOUT(w->statoSweep(), qint16(0), kWaitMs);
    }

    void rateLabelsAndTheGeneratorBackAtTheStart() {
        frmSweep* w = open(SweepFixture::lptIni(QStringLiteral("Start=1000000\nStop=5000000\n")) +
                           QStringLiteral("[Debug]\nLog=1\n"));
        QVERIFY(w);
        // The binding's own load of the start frequency, as the DDS word it became.
        QTRY_VERIFY_WITH_TIMEOUT(
            logLines().join(QLatin1Char('|')).contains(QStringLiteral("0 L> AD9850 FWord= ")),
            kWaitMs);
        QStringList words;
        for (const QString& l : logLines())
            if (l.startsWith(QStringLiteral("0 L> AD9850 FWord= ")))
                words << l;
        QCOMPARE(words.size(), 1);
        QSignalSpy sweeps(w, &frmSweep::sweepReceived);
        QTest::mouseClick(child<QPushButton>("cmdStart"), Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(sweeps.count() >= 3, kWaitMs);

        const auto ms = parseNumber(child<QLabel>("lblSpeed")->text());
        QVERIFY2(ms && *ms >= 1 && *ms == std::floor(*ms),
                 qPrintable(child<QLabel>("lblSpeed")->text()));
        QLocale plain;
        plain.setNumberOptions(QLocale::OmitGroupSeparator);
        QCOMPARE(child<QLabel>("lblFreq")->text(), plain.toString(1000.0 / *ms, 'f', 2));

        QTest::mouseClick(child<QPushButton>("cmdStop"), Qt::LeftButton);
        QTRY_COMPARE_WITH_TIMEOUT(w->statoSweep(), qint16(0), kWaitMs);
        // After the end of the loop the generator is loaded with the start frequency again.
        QTRY_VERIFY_WITH_TIMEOUT(logLines().last() == words.first(), kWaitMs);
    }
};

QTEST_MAIN(TestFrmSweepHardware)
#include "tst_frmsweep_hardware.moc"
