// Sweep passes of cAsyncLPT on the simulated board: frequencies of every point, the
// "Syncro" pulse, where each reading lands at every speed, the stop protocol and faults
// that end a pass.
#include "LptTestRig.h"
#include "ServerOptions.h"

#include <QTimer>
#include <QtTest>
#include <cmath>

namespace {
constexpr double kTwo32 = 4294967296.0;

// Starts a pass and lets passes run until `passes` vectors arrived; stops through
// aSweepON = 2 from the vector handler, as the main window does.
bool runPasses(LptTestRig& rig, int passes) {
    QObject guard;
    QObject::connect(rig.lpt.get(), &cAsyncLPT::aVettore, &guard, [&rig, passes] {
        if (rig.vectors.size() >= passes)
            rig.lpt->setASweepON(2);
    });
    rig.lpt->aStartLPT();
    return QTest::qWaitFor([&] { return rig.completed(); }, 20000);
}

QList<double> loadedFrequencies(LptBoard& board) {
    QList<double> out;
    for (const auto& r : board.dds().log())
        if (r.kind == DdsChip::Record::Kind::Load || r.kind == DdsChip::Record::Kind::Update)
            out << r.outputHz;
    return out;
}
} // namespace

class TestLptSweep : public QObject {
    Q_OBJECT

private slots:
    void passFrequenciesSyncroAndLog_data() {
        QTest::addColumn<QString>("dds");
        QTest::addColumn<double>("clock");
        QTest::addColumn<int>("mult");
        QTest::addColumn<double>("sysclk");
        QTest::newRow("AD9850") << QStringLiteral("AD9850") << 125e6 << 0 << 125e6;
        QTest::newRow("AD9851 x6") << QStringLiteral("AD9851") << 30e6 << 1 << 180e6;
        QTest::newRow("AD9951 x4") << QStringLiteral("AD9951") << 20e6 << 4 << 80e6;
    }
    void passFrequenciesSyncroAndLog() {
        QFETCH(QString, dds);
        QFETCH(double, clock);
        QFETCH(int, mult);
        QFETCH(double, sysclk);
        LptTestRig rig;
        rig.configure(dds, QStringLiteral("10bit"), clock, short(mult));
        const int start = 1000000, step = 12345;
        rig.lpt->aInizializzaSweep(start, step);
        QCOMPARE(rig.texts(), QStringList{QStringLiteral("L> Start/Step inizializzati")});
        rig.events.clear();
        rig.board->clearLogs();
        QVERIFY(runPasses(rig, 1));

        const QList<double> f = loadedFrequencies(*rig.board);
        QCOMPARE(f.size(), 400);
        for (int i = 1; i <= 400; ++i)
            QVERIFY2(std::fabs(f[i - 1] - (start + (i - 1.0) * step)) <= sysclk / kTwo32,
                     qPrintable(QStringLiteral("point %1 at %2 Hz").arg(i).arg(f[i - 1])));

        // "Syncro" is high from the start of the pass until the first point has been read.
        const auto& ev = rig.board->events();
        using K = LptBoard::Event::Kind;
        QCOMPARE(ev.size(), 2 + 400 + 401);
        QCOMPARE(ev[0].kind, K::SyncroHigh);
        QCOMPARE(ev[1].kind, K::DdsLoad);
        QCOMPARE(ev[2].kind, K::AdcRead);
        QCOMPARE(ev[3].kind, K::SyncroLow);
        for (int k = 4; k < ev.size(); ++k)
            QVERIFY(ev[k].kind == K::DdsLoad || ev[k].kind == K::AdcRead);
        QVERIFY(!rig.board->pin(16));

        QCOMPARE(rig.texts(),
                 (QStringList{QStringLiteral("L> StartFreq: 1000000"),
                              QStringLiteral("L> StepFreq: 12345"),
                              QStringLiteral("L> fine ciclo sweep"), QStringLiteral("complete")}));
        QCOMPARE(rig.vectors.size(), 1);
        QCOMPARE(rig.vectors[0].size(), 406);
        QCOMPARE(rig.lpt->mySweepON(), short(0));
        QVERIFY(!rig.lpt->inEsecuzione());
    }

    void readingsLandAtTheirPoint_data() {
        QTest::addColumn<int>("speed");
        QTest::addColumn<int>("late");
        QTest::newRow("Standard") << 0 << 0;
        QTest::newRow("Slow") << 1 << 0;
        QTest::newRow("Very slow") << 2 << 0;
        QTest::newRow("speed 3") << 3 << 1;
        QTest::newRow("speed 7") << 7 << 1;
    }
    void readingsLandAtTheirPoint() {
        QFETCH(int, speed);
        QFETCH(int, late);
        LptTestRig rig; // ramp: code = floor(f / 10 kHz)
        rig.configure(QStringLiteral("AD9850"), QStringLiteral("10bit"), 100e6, 0, short(speed));
        rig.lpt->aInizializzaSweep(1005000, 20000);
        rig.board->clearLogs();
        QVERIFY(runPasses(rig, 2));
        QCOMPARE(rig.vectors.size(), 2);
        const QList<double> f = loadedFrequencies(*rig.board);
        const QList<qint16>& v = rig.vectors[1];
        for (int i = 1 + late; i <= 400; ++i) {
            const int expected = int(std::floor(f[400 + i - 1 - late] / 10000.0));
            QVERIFY2(
                v[i] == expected,
                qPrintable(
                    QStringLiteral("index %1: %2, expected %3").arg(i).arg(v[i]).arg(expected)));
        }
        for (int i = 401; i <= 405; ++i)
            QCOMPARE(v[i], qint16(0));
    }

    void slowSpeedsLeaveIndexZeroAlone() {
        LptTestRig rig;
        rig.configure(QStringLiteral("AD9850"), QStringLiteral("10bit"), 100e6, 0, 0);
        rig.lpt->aInizializzaSweep(2000000, 10000);
        QVERIFY(runPasses(rig, 2));
        const qint16 discarded = rig.lpt->campioni()[0];
        QVERIFY(discarded != 0); // the reading of the previous pass's last point
        for (short speed : {short(1), short(2)}) {
            rig.lpt->setASpeed(speed);
            rig.vectors.clear();
            rig.events.clear();
            QVERIFY(runPasses(rig, 1));
            QCOMPARE(rig.vectors[0][0], discarded);
        }
    }

    void stopDuringAPassFinishesIt() {
        LptTestRig rig;
        rig.configure(QStringLiteral("AD9850"), QStringLiteral("10bit"), 100e6, 0);
        rig.lpt->aInizializzaSweep(1000000, 1000);
        rig.events.clear();
        // The stop arrives as a call served while the pass yields between points.
        QObject guard;
        connect(rig.lpt.get(), &DeviceObject::aErrore, &guard, [&](short, const QString& t) {
            if (t.startsWith(QStringLiteral("L> StepFreq")))
                QTimer::singleShot(0, &guard, [&] { rig.lpt->setASweepON(2); });
        });
        rig.lpt->aStartLPT();
        rig.lpt->aStartLPT(); // refused: already queued
        QVERIFY(QTest::qWaitFor([&] { return rig.completed(); }, 20000));
        QCOMPARE(rig.vectors.size(), 1);
        QCOMPARE(rig.board->dds().log().size(), 400); // the pass was finished
        QCOMPARE(rig.texts(),
                 (QStringList{QStringLiteral("L> Sweep già in esecuzione"),
                              QStringLiteral("L> StartFreq: 1000000"),
                              QStringLiteral("L> StepFreq: 1000"),
                              QStringLiteral("L> fine ciclo sweep"), QStringLiteral("complete")}));
        QCOMPARE(rig.events[0].first, short(3));
        QCOMPARE(rig.lpt->aSweepON(), short(0));
        // Idle again: a new start is accepted.
        rig.events.clear();
        rig.vectors.clear();
        QVERIFY(runPasses(rig, 1));
        QCOMPARE(rig.vectors.size(), 1);
    }

    void setUpTheDdsCannotTakeIsReported_data() {
        QTest::addColumn<double>("clock");
        QTest::addColumn<double>("offset");
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("step");
        QTest::addColumn<QString>("expected");
        QTest::newRow("negative start")
            << 100e6 << 0.0 << -1000 << 1000 << "punto 1 a -1000 Hz: frequenza negativa";
        QTest::newRow("stop below 0")
            << 100e6 << 0.0 << 100000 << -1000 << "punto 102 a -1000 Hz: frequenza negativa";
        QTest::newRow("offset -1e300") << 100e6 << -1e300 << 1000000 << 1000 << "sotto 0";
        QTest::newRow("clock 1e300") << 1e300 << 0.0 << 1000000 << 1000 << "FWord 0";
    }
    void setUpTheDdsCannotTakeIsReported() {
        QFETCH(double, clock);
        QFETCH(double, offset);
        QFETCH(int, start);
        QFETCH(int, step);
        QFETCH(QString, expected);
        LptTestRig rig;
        rig.configure(QStringLiteral("AD9850"), QStringLiteral("10bit"), clock, 0, 0, offset);
        rig.lpt->aInizializzaSweep(start, step);
        // One error line with the prefix, naming the first point that cannot be generated;
        // never the line of a table that is ready.
        QCOMPARE(rig.events.size(), 1);
        QCOMPARE(rig.events[0].first, short(3));
        QVERIFY2(rig.events[0].second.startsWith(QStringLiteral("L> Sweep non inizializzato: ")),
                 qPrintable(rig.events[0].second));
        QVERIFY2(rig.events[0].second.contains(expected), qPrintable(rig.events[0].second));
    }

    void wordOverflowEndsThePassLikeAStop() {
        LptTestRig rig;
        rig.configure(QStringLiteral("AD9850"), QStringLiteral("10bit"), 10e6, 0);
        rig.lpt->aInizializzaSweep(9000000, 10000); // point 101 reaches the clock
        // The set-up already names the point; a pass started all the same stops there.
        QCOMPARE(rig.textsWithCode(3).size(), 1);
        rig.lpt->aStartLPT();
        QVERIFY(QTest::qWaitFor([&] { return rig.completed(); }, 20000));
        QVERIFY(rig.vectors.isEmpty());
        QCOMPARE(rig.textsWithCode(3).size(), 2);
        for (const QString& text : rig.textsWithCode(3))
            QVERIFY2(text.contains(QStringLiteral("101")), qPrintable(text));
        QCOMPARE(rig.texts().mid(rig.texts().size() - 2),
                 (QStringList{QStringLiteral("L> fine ciclo sweep"), QStringLiteral("complete")}));
        QCOMPARE(rig.board->dds().log().size(), 100);
        QCOMPARE(rig.lpt->mySweepON(), short(0));
        QVERIFY(!rig.lpt->inEsecuzione());
        QVERIFY(!rig.board->pin(16));
    }

    void portClosedDuringAPassEndsIt() {
        LptTestRig rig;
        rig.configure(QStringLiteral("AD9850"), QStringLiteral("10bit"), 100e6, 0);
        rig.lpt->aInizializzaSweep(1000000, 1000);
        QObject guard;
        connect(rig.lpt.get(), &DeviceObject::aErrore, &guard, [&](short, const QString& t) {
            if (t.startsWith(QStringLiteral("L> StepFreq")))
                QTimer::singleShot(0, &guard, [&] { rig.lpt->aExitLPT(); });
        });
        rig.lpt->aStartLPT();
        QVERIFY(QTest::qWaitFor([&] { return rig.completed(); }, 20000));
        QVERIFY(rig.vectors.isEmpty());
        QCOMPARE(rig.textsWithCode(3).size(), 1);
        QVERIFY(!rig.lpt->inEsecuzione());
    }

    void refusedStartEndsLikeALoop() {
        // A start the device refuses for want of an open port still ends as a loop does (the
        // reason, the end line, aComplete), so a client waiting for the end returns to idle:
        // before any aInizializzaLPT, after one that failed (no parallel port at that address),
        // and after aExitLPT.
        const auto refused = [](cAsyncLPT& lpt) {
            QList<QPair<short, QString>> events;
            QObject guard;
            connect(&lpt, &DeviceObject::aErrore, &guard, [&](short code, const QString& text) {
                events.append({code, text});
            });
            connect(&lpt, &DeviceObject::aComplete, &guard, [&] {
                events.append({-1, QStringLiteral("complete")});
            });
            lpt.aStartLPT();
            QTest::qWait(20); // nothing may be queued behind the refusal
            QCOMPARE(events.size(), 3);
            QCOMPARE(events[0].first, short(3));
            QVERIFY2(events[0].second.startsWith(QStringLiteral("L> aStartLPT")),
                     qPrintable(events[0].second));
            QCOMPARE(events[1], qMakePair(short(0), QStringLiteral("L> fine ciclo sweep")));
            QCOMPARE(events[2].first, short(-1));
            QCOMPARE(lpt.mySweepON(), short(0));
            QVERIFY(!lpt.inEsecuzione());
        };

        LptTestRig rig;
        refused(*rig.lpt);
        if (QTest::currentTestFailed())
            return;
        QVERIFY(rig.vectors.isEmpty());
        QCOMPARE(rig.board->accesses(), uint64_t(0));

        ServerOptions options;
        options.lptDriver = QStringLiteral("ppdev");
        cAsyncLPT noPort(PortIo::create(options), options.lptDriver);
        QVERIFY(!noPort.aInizializzaLPT(0x1234));
        refused(noPort);
        if (QTest::currentTestFailed())
            return;

        // Once the port is open the same object sweeps; closed again, it refuses again.
        rig.configure(QStringLiteral("AD9850"), QStringLiteral("10bit"), 100e6, 0);
        rig.lpt->aInizializzaSweep(1000000, 1000);
        QVERIFY(runPasses(rig, 1));
        QCOMPARE(rig.vectors.size(), 1);
        rig.lpt->aExitLPT();
        refused(*rig.lpt);
    }

    void tableRebuiltDuringAPassAppliesToTheRest() {
        LptTestRig rig;
        rig.configure(QStringLiteral("AD9850"), QStringLiteral("10bit"), 100e6, 0);
        rig.lpt->aInizializzaSweep(1000000, 1000);
        QObject guard;
        connect(rig.lpt.get(), &DeviceObject::aErrore, &guard, [&](short, const QString& t) {
            if (t.startsWith(QStringLiteral("L> StepFreq")))
                QTimer::singleShot(0, &guard, [&] {
                    rig.lpt->aInizializzaSweep(5000000, 1000);
                    rig.lpt->setASweepON(2);
                });
        });
        rig.lpt->aStartLPT();
        QVERIFY(QTest::qWaitFor([&] { return rig.completed(); }, 20000));
        const QList<double> f = loadedFrequencies(*rig.board);
        QCOMPARE(f.size(), 400);
        QVERIFY(std::fabs(f[0] - 1000000) < 1);
        QVERIFY(std::fabs(f[399] - (5000000 + 399 * 1000)) < 1);
    }
};

QTEST_GUILESS_MAIN(TestLptSweep)
#include "test_lpt_sweep.moc"
