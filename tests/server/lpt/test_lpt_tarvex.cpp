// cAsyncLPT served by the tarvex program on the simulated board, end to end over D-Bus:
// configuration, one pass of the ramp device with every reading at its point, the stop
// protocol and closing the port.
#include "CAsyncLPTProxy.h"
#include "TarvexLauncher.h"
#include "TarvexTypes.h"

#include <QtTest>
#include <cmath>

class TestLptTarvex : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { tarvex::registerTypes(); }

    void passThroughTheServer() {
        const QString binDir = qEnvironmentVariable("SWEEP_BIN_DIR");
        QVERIFY2(!binDir.isEmpty(), "SWEEP_BIN_DIR must name the folder that holds tarvex");
        TarvexLauncher launcher;
        launcher.setProgramDir(binDir);
        QString error;
        QVERIFY2(launcher.start({QStringLiteral("--lpt-driver"), QStringLiteral("sim"),
                                 QStringLiteral("--sim-pace"), QStringLiteral("max"),
                                 QStringLiteral("--sim-dut"), QStringLiteral("ramp")},
                                &error),
                 qPrintable(error));
        CAsyncLPTProxy lpt(QString(), QString::fromLatin1(tarvex::kPathLPT), launcher.connection());
        QStringList log;
        QList<QList<qint16>> vectors;
        bool complete = false;
        connect(&lpt, &CAsyncLPTProxy::aErrore, this, [&](short code, const QString& text) {
            log << QStringLiteral("%1 %2").arg(code).arg(text);
        });
        connect(&lpt, &CAsyncLPTProxy::aVettore, this, [&](const QList<qint16>& v) {
            vectors << v;
            if (vectors.size() == 1)
                lpt.setASweepON(2);
        });
        connect(&lpt, &CAsyncLPTProxy::aComplete, this, [&] {
            log << QStringLiteral("complete");
            complete = true;
        });
        auto dump = qScopeGuard([&] {
            if (QTest::currentTestFailed())
                qWarning().noquote() << "device log:\n"
                                     << log.join(QLatin1Char('\n')) << "\nserver output:\n"
                                     << launcher.serverOutput();
        });

        QDBusReply<bool> opened = lpt.aInizializzaLPT(888);
        QVERIFY2(opened.isValid(), qPrintable(opened.error().message()));
        QVERIFY(opened.value());
        lpt.setADeviceDDS(QStringLiteral("AD9850"));
        lpt.setADeviceADC(QStringLiteral("10bit"));
        lpt.setAClock(100e6);
        lpt.setAMultiplier(0);
        lpt.setADDSoffset(0.0);
        lpt.setASpeed(0);
        lpt.aInizializzaDDS().waitForFinished();
        lpt.aInizializzaSweep(1005000, 20000).waitForFinished();
        lpt.aStartLPT().waitForFinished();
        QVERIFY(QTest::qWaitFor([&] { return complete; }, 20000));

        // The stop is served between two points; unpaced passes may have run a few more.
        QVERIFY(!vectors.isEmpty());
        for (const QList<qint16>& v : vectors) {
            QCOMPARE(v.size(), 406);
            for (int i = 1; i <= 400; ++i)
                QCOMPARE(v[i], qint16(std::floor((1005000 + (i - 1) * 20000) / 10000.0)));
        }
        QVERIFY(log.contains(QStringLiteral("0 L> LPT address: 888")));
        QVERIFY(log.contains(QStringLiteral("0 L> AD9850 Inizializzato")));
        QCOMPARE(log.mid(log.size() - 4), (QStringList{QStringLiteral("0 L> StartFreq: 1005000"),
                                                       QStringLiteral("0 L> StepFreq: 20000"),
                                                       QStringLiteral("0 L> fine ciclo sweep"),
                                                       QStringLiteral("complete")}));
        QCOMPARE(lpt.mySweepON(), short(0));

        QDBusReply<short> reading = lpt.aReadADC();
        QVERIFY(reading.isValid());
        lpt.aExitLPT().waitForFinished();
        QVERIFY(QTest::qWaitFor([&] { return log.last() == QStringLiteral("0 L> LPTport chiusa"); },
                                5000));
        launcher.stop();
    }
};

QTEST_GUILESS_MAIN(TestLptTarvex)
#include "test_lpt_tarvex.moc"
