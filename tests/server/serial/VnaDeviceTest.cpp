// cAsyncMiniVNA against the MiniVNA firmware model on a real pseudo-terminal (and once through
// the in-process sim:vna line): factor and words, requests, records, time-out and stop.
#include "EventRecorder.h"
#include "PtyServer.h"
#include "SerialLine.h"
#include "VnaFirmware.h"
#include "cAsyncMiniVNA.h"

#include <QElapsedTimer>
#include <QLocale>
#include <QTest>
#include <QTimer>
#include <memory>

namespace {
constexpr short kPort = 3;

struct Rig {
    explicit Rig(const QString& target = QString()) {
        ServerOptions options;
        options.simDut = QStringLiteral("ramp");
        options.simPaceReal = false;
        if (target.isEmpty()) {
            server = std::make_unique<PtyServer>(
                FirmwareModel::create(QStringLiteral("vna"), QStringLiteral("ramp")));
            server->setBaud(0);
            QString error;
            if (!server->open(&error))
                qFatal("pseudo-terminal: %s", qPrintable(error));
            options.comMap[kPort] = server->path();
        } else {
            options.comMap[kPort] = target;
        }
        device = std::make_unique<cAsyncMiniVNA>(new SerialLine(options));
        rec.attach(device.get(), &vectors);
    }
    VnaFirmware* vna() const {
        return server ? server->modelAs<VnaFirmware>()
                      : dynamic_cast<VnaFirmware*>(device->line()->simModel());
    }
    // The start-up order of the client: port, clock, multiplier, offset, kind.
    void setUp(short kind) {
        QVERIFY(device->aInizializzaCOMM(kPort, QStringLiteral("115200,N,8,1")));
        device->setAClock(100000000.0);
        device->setAMultiplier(1);
        device->setADDSoffset(0.0);
        device->setAMisura(kind);
        rec.events.clear();
    }
    bool waitComplete(int ms = 10000) {
        return QTest::qWaitFor([this] { return rec.completed(); }, ms);
    }

    std::unique_ptr<PtyServer> server;
    std::unique_ptr<cAsyncMiniVNA> device;
    EventRecorder rec;
    QList<QList<double>> vectors;
};

QString num(const char* text) {
    return QString::fromLatin1(text).replace(QLatin1Char('.'), QLocale().decimalPoint());
}
} // namespace

class VnaDeviceTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void factorAndWordsFollowTheClock();
    void zeroClockKeepsTheFactor();
    void sweepRequestsAndDeliversTheKindsBytes();
    void kindsWithoutReadingsRequestSilentlyUntilStopped();
    void shortResponseTimesOutAndResendsThePreviousReadings();
    void pulledAdapterStillServesAStop();
    void sampleCountAbove400IsRefused();
    void singleFrequencyIsLogged();
    void exitClosesLogsAndEnds();
};

void VnaDeviceTest::factorAndWordsFollowTheClock() {
    Rig rig;
    QVERIFY(rig.device->aInizializzaCOMM(kPort, QString()));
    rig.device->setAClock(100000000.0);
    rig.device->setAMultiplier(1);
    rig.device->setADDSoffset(0.0);
    QCOMPARE(
        rig.rec.events,
        QStringList({QStringLiteral("0:V> COMMport inizializzata"),
                     QStringLiteral("0:V> CLK Ref: 100000000"), QStringLiteral("0:V> CLK Mult: 1"),
                     QStringLiteral("0:V> Freq Mult: ") + num("42.94967296"),
                     QStringLiteral("0:V> Freq offset: 0"),
                     QStringLiteral("0:V> Freq Mult: ") + num("42.94967296")}));
    rig.device->setAMisura(2);
    rig.device->aInizializzaSweep(1000000, 10000, 400);
    QCOMPARE(rig.device->startWord(), 42949673);
    QCOMPARE(rig.device->stepWord(), 429497);
    QCOMPARE(rig.rec.events.last(), QStringLiteral("0:V> Parametri sweep inizializzati"));

    rig.rec.events.clear();
    const QLocale previous;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    rig.device->setADDSoffset(1.0);
    QLocale::setDefault(previous);
    QCOMPARE(rig.rec.events, QStringList({QStringLiteral("0:V> Freq offset: 0,001"),
                                          QStringLiteral("0:V> Freq Mult: 42,95067296")}));
    QCOMPARE(rig.device->aDDSoffset(), 1.0);
}

void VnaDeviceTest::zeroClockKeepsTheFactor() {
    Rig rig;
    rig.setUp(2);
    rig.device->setAClock(0.0);
    QCOMPARE(rig.device->factor(), 42.94967296);
    QCOMPARE(rig.rec.events.size(), 2);
    QCOMPARE(rig.rec.events[0], QStringLiteral("0:V> CLK Ref: 0"));
    QVERIFY(rig.rec.events[1].startsWith(QStringLiteral("3:V> ")));
    // A frequency whose word does not fit 32 bits is refused, the words stay.
    rig.device->setAClock(100000000.0);
    rig.rec.events.clear();
    rig.device->aInizializzaSweep(60000000, 100000, 400);
    QCOMPARE(rig.rec.events, QStringList(QStringLiteral("3:V> frequenza fuori limite: 60000000")));
    QCOMPARE(rig.device->startWord(), 0);
}

void VnaDeviceTest::sweepRequestsAndDeliversTheKindsBytes() {
    for (short kind : {short(1), short(3)}) {
        Rig rig;
        rig.setUp(kind);
        rig.device->aInizializzaSweep(1000000, 10000, 400);
        rig.rec.events.clear();
        rig.rec.onVector = [&](int n) {
            if (n == 2)
                rig.device->setASweepON(2);
        };
        rig.device->Start();
        rig.device->Start();
        QVERIFY2(rig.waitComplete(), qPrintable(rig.rec.dump()));
        QCOMPARE(rig.rec.events,
                 QStringList({QStringLiteral("3:V> Sweep già in esecuzione"),
                              QStringLiteral("0:V> avvio ciclo di sweep"), QStringLiteral("V"),
                              QStringLiteral("V"), QStringLiteral("0:V> fine ciclo sweep"),
                              QStringLiteral("C")}));
        QCOMPARE(rig.device->aSweepON(), short(0));
        const QList<double>& v = rig.vectors[0];
        QCOMPARE(v.size(), 401);
        QCOMPARE(v[0], 0.0);
        // ramp: phase mid-scale; magnitude f / 10000 from 1 MHz up
        QCOMPARE(v[1], kind == 1 ? 512.0 : 100.0);
        QCOMPARE(v[400], kind == 1 ? 512.0 : 499.0);
        QCOMPARE(rig.vna()->log().first(),
                 QStringLiteral("%1 42949673 400 429497").arg(kind == 3 ? 1 : 0));
    }
}

void VnaDeviceTest::kindsWithoutReadingsRequestSilentlyUntilStopped() {
    for (short kind : {short(0), short(4)}) {
        Rig rig;
        rig.setUp(kind);
        rig.device->aInizializzaSweep(1000000, 10000, 10);
        rig.rec.events.clear();
        // The loop runs inside the event loop: the stop request comes from a timer, as a
        // client's call would.
        QTimer watcher;
        QObject::connect(&watcher, &QTimer::timeout, [&] {
            if (rig.vna()->requests() >= 3)
                rig.device->setASweepON(2);
        });
        watcher.start(1);
        rig.device->Start();
        QVERIFY(rig.waitComplete());
        QVERIFY(rig.vna()->requests() >= 3);
        QCOMPARE(rig.rec.events,
                 QStringList({QStringLiteral("0:V> avvio ciclo di sweep"),
                              QStringLiteral("0:V> fine ciclo sweep"), QStringLiteral("C")}));
    }
}

void VnaDeviceTest::shortResponseTimesOutAndResendsThePreviousReadings() {
    Rig rig;
    rig.setUp(2);
    rig.device->aInizializzaSweep(1000000, 10000, 400);
    rig.rec.events.clear();
    rig.rec.onVector = [&](int n) {
        if (n == 1)
            rig.vna()->setFault(FirmwareFault::Truncate); // the next answer is 1599 bytes
        else
            rig.device->setASweepON(2);
    };
    rig.device->Start();
    QVERIFY2(rig.waitComplete(), qPrintable(rig.rec.dump()));
    QCOMPARE(rig.rec.events,
             QStringList({QStringLiteral("0:V> avvio ciclo di sweep"), QStringLiteral("V"),
                          QStringLiteral("3:V> timeout lettura campioni"), QStringLiteral("V"),
                          QStringLiteral("0:V> fine ciclo sweep"), QStringLiteral("C")}));
    QCOMPARE(rig.vectors[1], rig.vectors[0]);
    QCOMPARE(rig.vectors[1][1], 100.0);
}

void VnaDeviceTest::pulledAdapterStillServesAStop() {
    // The adapter is pulled after the first vector: every request then fails to be sent. The
    // loop goes on sending the previous readings, but must still serve calls (here a stop
    // request from a timer, as a client's call would come) and must not spin on the dead line.
    Rig rig(QStringLiteral("sim:vna"));
    rig.setUp(2);
    rig.device->aInizializzaSweep(1000000, 10000, 400);
    rig.rec.events.clear();
    QElapsedTimer sincePulled;
    bool starved = false;
    rig.rec.onVector = [&](int n) {
        if (n == 1) {
            QVERIFY(rig.device->line()->setSimUnplugged(true));
            sincePulled.start();
        } else if (sincePulled.elapsed() > 3000) {
            starved = true; // the timer below never got its turn: end the loop from here
            rig.device->setASweepON(2);
        }
    };
    QTimer stopper;
    QObject::connect(&stopper, &QTimer::timeout, [&] {
        if (sincePulled.isValid() && sincePulled.elapsed() >= 500)
            rig.device->setASweepON(2);
    });
    stopper.start(10);
    rig.device->Start();
    QVERIFY2(rig.waitComplete(), qPrintable(rig.rec.dump()));
    QVERIFY2(!starved, "the loop did not serve calls while the line was dead");

    const QStringList& ev = rig.rec.events;
    QCOMPARE(ev.mid(0, 3),
             QStringList({QStringLiteral("0:V> avvio ciclo di sweep"), QStringLiteral("V"),
                          QStringLiteral("3:V> errore invio comando")}));
    QCOMPARE(ev.mid(ev.size() - 3),
             QStringList({QStringLiteral("V"), QStringLiteral("0:V> fine ciclo sweep"),
                          QStringLiteral("C")}));
    // Each failed request is reported and followed by the previous readings; in half a second
    // only a few are tried.
    const auto failures = ev.count(QStringLiteral("3:V> errore invio comando"));
    QVERIFY2(failures >= 1 && failures <= 5, qPrintable(QString::number(failures)));
    QCOMPARE(rig.vectors.size(), failures + 1);
    QCOMPARE(rig.vectors.last(), rig.vectors.first());
    QCOMPARE(rig.device->aSweepON(), short(0));
}

void VnaDeviceTest::sampleCountAbove400IsRefused() {
    Rig rig;
    rig.setUp(2);
    rig.device->aInizializzaSweep(1000000, 10000, 400);
    rig.rec.events.clear();
    rig.device->aInizializzaSweep(1000000, 10000, 401);
    rig.device->aInizializzaSweep(1000000, 10000, 0);
    QCOMPARE(rig.rec.withCode(3).size(), 2);
    QCOMPARE(rig.rec.events.size(), 2);
    QCOMPARE(rig.device->sampleCount(), 400);
}

void VnaDeviceTest::singleFrequencyIsLogged() {
    Rig rig(QStringLiteral("sim:vna")); // the in-process line
    rig.setUp(1);
    rig.device->aSetFrequenza(1000000);
    QCOMPARE(rig.rec.events, QStringList({QStringLiteral("0:V> New freq: 42949673"),
                                          QStringLiteral("0:V> Angle: 512")}));
    rig.device->setAMisura(3);
    rig.rec.events.clear();
    rig.device->aSetFrequenza(1000000);
    QCOMPARE(rig.rec.events.last(), QStringLiteral("0:V> Return loss: 100"));
    QCOMPARE(rig.vna()->log().last(), QStringLiteral("1 42949673 1 1"));
    QCOMPARE(rig.device->sampleCount(), 1);
}

void VnaDeviceTest::exitClosesLogsAndEnds() {
    int ended = 0;
    DeviceObject::setExitHandler([&ended] { ++ended; });
    Rig rig;
    rig.setUp(2);
    rig.device->aExitCOMM();
    QCOMPARE(ended, 1);
    QVERIFY(!rig.device->line()->portOpen());
    QCOMPARE(rig.rec.events, QStringList(QStringLiteral("0:V> COMMport chiusa")));
    QTest::qWait(20);
    QCOMPARE(rig.vna()->requests(), 0); // nothing is sent to the analyser
    DeviceObject::setExitHandler({});
}

QTEST_GUILESS_MAIN(VnaDeviceTest)
#include "VnaDeviceTest.moc"
