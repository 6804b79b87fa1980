// Start-up and shutdown of the main window: refusals that end the program without saving,
// the single instance, a device server that cannot start, SIGTERM closing normally, the
// set-up dialog's "Apply" closing normally, and a closing save that cannot be written.
#include "SignalCloser.h"
#include "SweepFixture.h"
#include "frmSetUp.h"

#include <QAction>
#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QtTest>
#include <csignal>
#include <cstring>

namespace {
// The real set-up dialog, answered with APPLY (the confirmation is answered OK).
class ApplyingDialogs : public CountingDialogs {
public:
    bool showSetup(QWidget* parent, SweepContext& context) override {
        ++setupShown;
        frmSetUp dialog(context, nullptr, parent);
        dialog.findChild<QPushButton*>(QStringLiteral("cmdApply"))->click();
        return dialog.applied();
    }
};
} // namespace

class TestFrmSweepStartup : public QObject {
    Q_OBJECT

private slots:
    void unknownDeviceNamesEndWithoutSaving_data() {
        QTest::addColumn<QString>("config");
        QTest::addColumn<QString>("text");
        QTest::newRow("DDS")
            << QStringLiteral("DDS Device=AD9852\nADC Device=10bit\n")
            << QStringLiteral("AD9852 : Unknow DDSdevice.\nSupported DDS generators are: AD9850, "
                              "AD9851, AD9951");
        QTest::newRow("converter")
            << QStringLiteral("DDS Device=9851\nADC Device=12bit\n")
            << QStringLiteral("12bit : Unknow ADCdevice.\nSupported ADC are: 8bit, 10bit");
    }
    void unknownDeviceNamesEndWithoutSaving() {
        QFETCH(QString, config);
        QFETCH(QString, text);
        SweepFixture fx;
        fx.ini.write(QStringLiteral("[Config]\nInterface=2\n") + config +
                     QStringLiteral("[Attenuator]\nA=1\n"));
        frmSweep* w = fx.makeWindow();
        QVERIFY(!w->load());
        QCOMPARE(fx.messages.shown.size(), 1);
        QCOMPARE(fx.messages.lastText(), text);
        QCOMPARE(fx.messages.shown.last().second, QMessageBox::NoIcon);
        QCOMPARE(fx.messages.beeps, 1);
        QCOMPARE(fx.dialogs.setupShown, 1);
        w->close();
        const QString ini = fx.ini.read();
        QVERIFY2(!ini.contains(QStringLiteral("[Sweep Generator]")), qPrintable(ini));
        QVERIFY(!ini.contains(QStringLiteral("[Attenuator]")));
        QVERIFY(!w->deviceBound());
    }

    void firstRunAppliedSetupEndsTheProgram() {
        SweepFixture fx;
        fx.dialogs.applyOnSetup = true;
        frmSweep* w = fx.makeWindow();
        QVERIFY(!w->load());
        QCOMPARE(fx.dialogs.setupShown, 1);
        QVERIFY(fx.messages.shown.isEmpty());
        const QString ini = fx.ini.read();
        QVERIFY(ini.startsWith(QStringLiteral("[Config]\nInterface=2\n")));
    }

    void secondInstanceIsRefused() {
        SweepFixture fx;
        fx.ini.write(SweepFixture::noDeviceIni(QStringLiteral("Start=1000000\nStop=2000000\n")));
        frmSweep* first = fx.makeWindow();
        QVERIFY(first->load());
        TestMessages messages;
        frmSweep second(fx.options(), &messages, &fx.dialogs);
        QVERIFY(!second.load());
        QCOMPARE(messages.lastText(), QStringLiteral("The program is already running"));
        QCOMPARE(messages.shown.last().second, QMessageBox::Warning);
        QCOMPARE(messages.beeps, 1);
        QCOMPARE(first->windowTitle(), QStringLiteral("Orvane - Sweep Generator  v2.0"));
        first->close();
    }

    void serverThatCannotStartLeavesAWindowWithoutHardware() {
        SweepFixture fx;
        fx.serverProgram = QStringLiteral("/nonexistent/tarvex");
        fx.ini.write(SweepFixture::lptIni(QStringLiteral("Start=1000000\nStop=2000000\n")));
        frmSweep* w = fx.makeWindow();
        QVERIFY(w->load());
        QCOMPARE(fx.messages.shown.size(), 1);
        QVERIFY2(fx.messages.lastText().startsWith(
                     QStringLiteral("The device server could not be started.")),
                 qPrintable(fx.messages.lastText()));
        QVERIFY(!w->deviceBound());
        QCOMPARE(w->windowTitle(), QStringLiteral("Orvane - Sweep Generator  v2.0 - AD9851"));
        // Sweeping without a device returns to idle on "Sweep OFF" instead of waiting forever.
        auto* start = w->findChild<QPushButton*>(QStringLiteral("cmdStart"));
        auto* stop = w->findChild<QPushButton*>(QStringLiteral("cmdStop"));
        QTest::mouseClick(start, Qt::LeftButton);
        QCOMPARE(w->statoSweep(), qint16(4));
        QVERIFY(!stop->isHidden());
        QTest::mouseClick(stop, Qt::LeftButton);
        QCOMPARE(w->statoSweep(), qint16(0));
        QVERIFY(!start->isHidden());
        w->close();
    }

    void sweepThatNeverEndsBoundsTheWait() {
        SweepFixture fx;
        fx.stopWaitMs = 200;
        fx.ini.write(SweepFixture::noDeviceIni(QStringLiteral("Start=1000000\nStop=2000000\n")));
        frmSweep* w = fx.makeWindow();
        QVERIFY(w->load());
        w->cmdStart_Click();
        QCOMPARE(w->statoSweep(), qint16(4));
        // A restart (as the re-apply timer makes) waits for an end report that never comes.
        w->cmdStart_Click();
        QCOMPARE(w->statoSweep(), qint16(0));
        QCOMPARE(fx.messages.shown.size(), 1);
        QVERIFY2(
            fx.messages.lastText().startsWith(QStringLiteral("The previous sweep did not end")),
            qPrintable(fx.messages.lastText()));
        QVERIFY(!w->findChild<QPushButton*>(QStringLiteral("cmdStart"))->isHidden());
        QVERIFY(w->findChild<QPushButton*>(QStringLiteral("cmdStop"))->isHidden());
        w->close();
    }

    void deviceErrorsGoToTheLogOrTheCounter_data() {
        QTest::addColumn<int>("itf");
        QTest::addColumn<QString>("counter");
        QTest::addColumn<QString>("log");
        QTest::newRow("PIC board")
            << 1 << QStringLiteral("1") << QStringLiteral("0 P> info|3 P> broken");
        QTest::newRow("parallel port")
            << 2 << QStringLiteral("0") << QStringLiteral("1 L> retry|0 L> info|3 L> broken");
    }
    void deviceErrorsGoToTheLogOrTheCounter() {
        QFETCH(int, itf);
        QFETCH(QString, counter);
        QFETCH(QString, log);
        SweepFixture fx;
        fx.serverProgram = QStringLiteral("/nonexistent/tarvex");
        QString ini = SweepFixture::lptIni(QStringLiteral("Start=1000000\nStop=2000000\n")) +
                      QStringLiteral("[Debug]\nLog=1\n");
        ini.replace(QStringLiteral("Interface=2"), QStringLiteral("Interface=%1").arg(itf));
        fx.ini.write(ini);
        frmSweep* w = fx.makeWindow();
        QVERIFY(w->load());
        auto* list = w->findChild<QListWidget*>(QStringLiteral("lstLOG"));
        list->clear();
        const QString p = itf == 1 ? QStringLiteral("P> ") : QStringLiteral("L> ");
        w->onErrore(1, p + QStringLiteral("retry"));
        w->onErrore(0, p + QStringLiteral("info"));
        w->onErrore(3, p + QStringLiteral("broken"));
        QCOMPARE(w->findChild<QLineEdit*>(QStringLiteral("txtErrori"))->text(), counter);
        QStringList lines;
        for (int i = 0; i < list->count(); ++i)
            lines << list->item(i)->text();
        QCOMPARE(lines.join(QLatin1Char('|')), log);
        w->close();
    }

    void setupApplyEndsTheProgramAsACloseDoes() {
        SweepFixture fx;
        fx.ini.write(SweepFixture::noDeviceIni(
            QStringLiteral("Start=1000000\nStop=10000000\nMarker 1=1000000\nMarker 3=1\n")));
        ApplyingDialogs dialogs;
        frmSweep w(fx.options(), &fx.messages, &dialogs);
        QVERIFY(w.load());
        w.show();
        QSignalSpy closed(&w, &frmSweep::closed);
        typeInto(w.findChild<QLineEdit*>(QStringLiteral("txtStart")), QStringLiteral("2000000"));
        typeInto(w.findChild<QLineEdit*>(QStringLiteral("txtStop")), QStringLiteral("6000000"));
        // The table keeps the stored range until the next sweep: 1 MHz + 100 steps of 22.5 kHz.
        typeInto(w.findChild<QLineEdit*>(QStringLiteral("txtM1X")), QStringLiteral("3250000"));
        w.findChild<QAction*>(QStringLiteral("mnuScalaLogaritmica10"))->trigger(); // 1 V: -20 dB
        QVERIFY(!fx.ini.read().contains(QStringLiteral("Start=2000000\n")));

        w.findChild<QAction*>(QStringLiteral("mnuConfig"))->trigger();
        QCOMPARE(dialogs.setupShown, 1);
        QCOMPARE(fx.messages.asked.size(), 1); // "Please confirm, now program will exit."
        QTRY_COMPARE(closed.size(), 1);
        QVERIFY(!w.isVisible());
        const QString ini = fx.ini.read();
        const QString level = QStringLiteral("-20") + QLocale().decimalPoint() + QLatin1Char('0');
        for (const QString& line :
             {QStringLiteral("Start=2000000\n"), QStringLiteral("Stop=6000000\n"),
              QStringLiteral("Marker 1=3250000\n"),
              QStringLiteral("Marker 3=") + level + QLatin1Char('\n'), QStringLiteral("Scale=3\n"),
              QStringLiteral("[Aux1]\nEnabled=0\n")})
            QVERIFY2(ini.contains(line), qPrintable(line + QStringLiteral(" in\n") + ini));
    }

    void closingSaveThatCannotBeWrittenSaysWhereAndWhy() {
        SweepFixture fx;
        const QString folder = fx.ini.filePath(QStringLiteral("settings"));
        QVERIFY(QDir().mkpath(folder));
        StartOptions o = fx.options();
        o.iniPath = folder + QStringLiteral("/Sweep.ini");
        QFile ini(o.iniPath);
        QVERIFY(ini.open(QIODevice::WriteOnly));
        ini.write(
            SweepFixture::noDeviceIni(QStringLiteral("Start=1000000\nStop=2000000\n")).toUtf8());
        ini.close();
        frmSweep w(o, &fx.messages, &fx.dialogs);
        QVERIFY(w.load());
        // The folder gives way to a file while the program runs (root ignores permissions).
        QVERIFY(QDir(folder).removeRecursively());
        QFile blocker(folder);
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        w.close();
        QCOMPARE(fx.messages.shown.size(), 1);
        const QString text = fx.messages.lastText();
        QVERIFY2(text.contains(o.iniPath), qPrintable(text));
        QVERIFY2(text.contains(QString::fromLocal8Bit(std::strerror(ENOTDIR))), qPrintable(text));
        QCOMPARE(fx.messages.shown.last().second, QMessageBox::Warning);
        QCOMPARE(fx.messages.beeps, 1);
    }

    void sigtermClosesNormally() {
        SweepFixture fx;
        fx.ini.write(SweepFixture::noDeviceIni(QStringLiteral("Start=1000000\nStop=2000000\n")));
        frmSweep* w = fx.makeWindow();
        QVERIFY(w->load());
        SignalCloser closer(w);
        QVERIFY(closer.isActive());
        w->show();
        QVERIFY(::raise(SIGTERM) == 0);
        QTRY_VERIFY(!w->isVisible());
        // Marker 2 (2,000,000) sits on the last row, 1,997,500 Hz: saved only by a normal close.
        QVERIFY2(fx.ini.read().contains(QStringLiteral("Marker 2=1997500\n")),
                 qPrintable(fx.ini.read()));
    }
};

QTEST_MAIN(TestFrmSweepStartup)
#include "tst_frmsweep_startup.moc"
