// cAsyncPIC against the PIC firmware model on a real pseudo-terminal: frames,
// acknowledgements, retries, blocks and the stop protocol.
#include "EventRecorder.h"
#include "PicFirmware.h"
#include "PtyServer.h"
#include "SerialLine.h"
#include "cAsyncPIC.h"

#include <QFile>
#include <QSerialPort>
#include <QTemporaryDir>
#include <QTest>
#include <memory>
#include <unistd.h>

namespace {
constexpr short kPort = 6;
const QString kSettings = QStringLiteral("115200,N,8,1");

struct Rig {
    explicit Rig(const QString& dut = QStringLiteral("ramp")) {
        server = std::make_unique<PtyServer>(FirmwareModel::create(QStringLiteral("pic"), dut));
        server->setBaud(0);
        QString error;
        if (!server->open(&error))
            qFatal("pseudo-terminal: %s", qPrintable(error));
        ServerOptions options;
        options.comMap[kPort] = server->path();
        device = std::make_unique<cAsyncPIC>(new SerialLine(options));
        rec.attach(device.get(), &vectors);
    }
    PicFirmware* pic() const { return server->modelAs<PicFirmware>(); }
    bool open() { return device->aInizializzaCOMM(kPort, kSettings); }
    // Serves events until the loop has ended.
    bool waitComplete(int ms = 10000) {
        return QTest::qWaitFor([this] { return rec.completed(); }, ms);
    }

    std::unique_ptr<PtyServer> server;
    std::unique_ptr<cAsyncPIC> device;
    EventRecorder rec;
    QList<QList<qint16>> vectors;
};
} // namespace

class PicDeviceTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void commandsAreFramedAndAcknowledged();
    void sweepDeliversBlocksUntilStopped();
    void slowHostAcknowledgesEveryBlock();
    void unacknowledgedCommandsGiveFalseWithoutError();
    void silentBoardTimesOutEachAttempt();
    void overflowDropsTheBlock();
    void strayCharactersSpendTheRetryBudget();
    void truncatedBlockIsNeverSent();
    void stopFrequencyBeyond32BitsIsRefused();
    void exitClosesLogsAndEndsEvenWhenClosed();
    void openFailureSaysWhyAfterSixAttempts();
};

void PicDeviceTest::commandsAreFramedAndAcknowledged() {
    Rig rig;
    QVERIFY(rig.open());
    QVERIFY(rig.device->aScriviPIC(QStringLiteral("B"), 1000000));
    QVERIFY(rig.device->aScriviPIC(QStringLiteral("A"), 0));
    QVERIFY(rig.device->aScriviPIC(QStringLiteral("A"), 1234567890));
    QVERIFY(rig.device->aScriviPIC(QStringLiteral("*"), 0)); // not answered, not awaited
    QTRY_COMPARE(rig.pic()->log().size(), 4);
    QCOMPARE(rig.pic()->log(), QStringList({QStringLiteral("B 1000000"), QStringLiteral("A 0"),
                                            QStringLiteral("A 234567890"), QStringLiteral("* 0")}));
    QCOMPARE(rig.rec.events, QStringList({QStringLiteral("0:P> COMMport inizializzata"),
                                          QStringLiteral("0:P> :B001000000\r ACK\r\n"),
                                          QStringLiteral("0:P> :A000000000\r ACK\r\n"),
                                          QStringLiteral("0:P> :A234567890\r ACK\r\n")}));
}

void PicDeviceTest::sweepDeliversBlocksUntilStopped() {
    Rig rig;
    QVERIFY(rig.open());
    QVERIFY(rig.device->aInizializzaSweep(1000000, 10000));
    QCOMPARE(rig.pic()->startHz(), 1000000);
    QCOMPARE(rig.pic()->stopHz(), 5000000);
    QCOMPARE(rig.pic()->stepHz(), 10000);
    rig.rec.events.clear();
    rig.rec.onVector = [&](int n) {
        if (n == 2)
            rig.device->setASweepON(2);
    };
    rig.device->Start();
    rig.device->Start();
    QCOMPARE(rig.rec.events, QStringList(QStringLiteral("3:P> Sweep già in esecuzione")));
    QVERIFY2(rig.waitComplete(), qPrintable(rig.rec.dump()));
    QCOMPARE(rig.rec.events,
             QStringList({QStringLiteral("3:P> Sweep già in esecuzione"),
                          QStringLiteral("0:P> avvio ciclo di sweep"), QStringLiteral("V"),
                          QStringLiteral("V"), QStringLiteral("0:P> fine ciclo sweep"),
                          QStringLiteral("C")}));
    QCOMPARE(rig.device->aSweepON(), short(0));
    QVERIFY(!rig.device->inEsecuzione());
    const QList<qint16>& v = rig.vectors.first();
    QCOMPARE(v.size(), 406);
    QCOMPARE(v[0], qint16(0));
    QCOMPARE(v[1], qint16(100)); // ramp: f / 10000 at 1 MHz
    QCOMPARE(v[400], qint16(499));
    QCOMPARE(v[401], qint16(0));
    QCOMPARE(v[405], qint16(0));
    // The board is told to stop; a fast host sends nothing between blocks.
    QTRY_VERIFY(!rig.pic()->sweeping());
    QCOMPARE(rig.pic()->log().last(), QStringLiteral("E"));
    QVERIFY(!rig.pic()->log().contains(QStringLiteral("CR")));
}

void PicDeviceTest::slowHostAcknowledgesEveryBlock() {
    Rig rig;
    QVERIFY(rig.open());
    rig.device->setProperty("aSlowCPU", 1);
    QVERIFY(rig.device->aInizializzaSweep(1000000, 10000));
    QCOMPARE(rig.pic()->log().last(), QStringLiteral("F 1"));
    rig.rec.onVector = [&](int n) {
        if (n == 3)
            rig.device->setASweepON(2);
    };
    rig.device->Start();
    QVERIFY2(rig.waitComplete(), qPrintable(rig.rec.dump()));
    // The board waits for the CR after each block: three blocks need three of them.
    QTRY_COMPARE(rig.pic()->log().count(QStringLiteral("CR")), 3);
    QCOMPARE(rig.vectors.size(), 3);
}

void PicDeviceTest::unacknowledgedCommandsGiveFalseWithoutError() {
    Rig rig;
    QVERIFY(rig.open());
    rig.pic()->setFault(FirmwareFault::NoAck);
    rig.rec.events.clear();
    QVERIFY(!rig.device->aScriviPIC(QStringLiteral("B"), 1000000));
    QCOMPARE(rig.rec.events, QStringList(6, QStringLiteral("0:P> :B001000000\r NAK\r\n")));
}

void PicDeviceTest::silentBoardTimesOutEachAttempt() {
    Rig rig;
    QVERIFY(rig.open());
    rig.pic()->setFault(FirmwareFault::NoReply);
    rig.rec.events.clear();
    QVERIFY(!rig.device->aInizializzaSweep(1000000, 10000));
    QStringList expected(6, QStringLiteral("3:P> :B001000000\r timeout"));
    expected << QStringLiteral("3:P> timeout frequenza start");
    QCOMPARE(rig.rec.events, expected);
    QCOMPARE(rig.pic()->log().size(), 6); // the board saw six frames, and no C, D, F
}

void PicDeviceTest::overflowDropsTheBlock() {
    Rig rig(QStringLiteral("flat"));
    QVERIFY(rig.open());
    rig.pic()->setFault(FirmwareFault::Overflow); // 1025 in the first block, 1024 in the second
    QVERIFY(rig.device->aInizializzaSweep(1000000, 10000));
    rig.rec.events.clear();
    rig.rec.onVector = [&](int) { rig.device->setASweepON(2); };
    rig.device->Start();
    QVERIFY2(rig.waitComplete(), qPrintable(rig.rec.dump()));
    // The abandoned block's CR is then read as a stray character.
    QCOMPARE(rig.rec.events.mid(0, 4),
             QStringList(
                 {QStringLiteral("0:P> avvio ciclo di sweep"), QStringLiteral("2:P> overflow vout"),
                  QStringLiteral("1:P> retry 800 : manca start blocco(:)"), QStringLiteral("V")}));
    QCOMPARE(rig.vectors.size(), 1);
    QCOMPARE(rig.vectors[0][200], qint16(1024));
    QCOMPARE(rig.vectors[0][199], qint16(512));
}

void PicDeviceTest::strayCharactersSpendTheRetryBudget() {
    Rig rig;
    QVERIFY(rig.open());
    rig.pic()->setFault(FirmwareFault::Stray);
    QVERIFY(rig.device->aInizializzaSweep(1000000, 10000));
    rig.rec.events.clear();
    rig.device->Start();
    QVERIFY2(rig.waitComplete(), qPrintable(rig.rec.dump()));
    const QStringList& ev = rig.rec.events;
    QCOMPARE(ev.size(), 1 + 800 + 2);
    QCOMPARE(ev[1], QStringLiteral("1:P> retry 800 : manca start blocco(:)"));
    QCOMPARE(ev[800], QStringLiteral("1:P> retry 1 : manca start blocco(:)"));
    QCOMPARE(ev.mid(801),
             QStringList({QStringLiteral("0:P> fine ciclo sweep"), QStringLiteral("C")}));
    QVERIFY(rig.rec.withCode(3).isEmpty());
}

void PicDeviceTest::truncatedBlockIsNeverSent() {
    Rig rig;
    QVERIFY(rig.open());
    rig.pic()->setFault(FirmwareFault::Truncate); // half a block, then nothing
    QVERIFY(rig.device->aInizializzaSweep(1000000, 10000));
    rig.rec.events.clear();
    rig.device->Start();
    QVERIFY2(rig.waitComplete(), qPrintable(rig.rec.dump()));
    QCOMPARE(rig.rec.events,
             QStringList({QStringLiteral("0:P> avvio ciclo di sweep"),
                          QStringLiteral("3:P> timeout fine blocco(CR)"),
                          QStringLiteral("0:P> fine ciclo sweep"), QStringLiteral("C")}));
    QVERIFY(rig.vectors.isEmpty());
}

void PicDeviceTest::stopFrequencyBeyond32BitsIsRefused() {
    Rig rig;
    QVERIFY(rig.open());
    rig.rec.events.clear();
    QVERIFY(!rig.device->aInizializzaSweep(2000000000, 1000000));
    QCOMPARE(rig.rec.events,
             QStringList(QStringLiteral("3:P> frequenza stop fuori limite (2400000000)")));
    QTest::qWait(20);
    QVERIFY(rig.pic()->log().isEmpty()); // nothing reached the board
    QVERIFY(!rig.device->aInizializzaSweep(-2000000000, -1000000));
}

void PicDeviceTest::exitClosesLogsAndEndsEvenWhenClosed() {
    int ended = 0;
    DeviceObject::setExitHandler([&ended] { ++ended; });
    {
        Rig rig;
        QVERIFY(rig.open());
        rig.rec.events.clear();
        rig.device->aExitCOMM();
        QCOMPARE(ended, 1);
        QVERIFY(!rig.device->line()->portOpen());
        QCOMPARE(rig.rec.events, QStringList(QStringLiteral("0:P> COMMport chiusa")));
        QTRY_COMPARE(rig.pic()->log(), QStringList(QStringLiteral("E")));
    }
    {
        Rig rig; // never opened
        rig.device->aExitCOMM();
        QCOMPARE(ended, 2);
        QCOMPARE(rig.rec.events, QStringList(QStringLiteral("0:P> COMMport chiusa")));
    }
    DeviceObject::setExitHandler({});
}

void PicDeviceTest::openFailureSaysWhyAfterSixAttempts() {
    QTemporaryDir dir;
    ServerOptions options;
    options.comMap[7] = dir.filePath(QStringLiteral("ttyUSB9"));
    {
        cAsyncPIC device(new SerialLine(options));
        EventRecorder rec;
        QList<QList<qint16>> vectors;
        rec.attach(&device, &vectors);
        QVERIFY(!device.aInizializzaCOMM(7, kSettings));
        QCOMPARE(rec.events.size(), 7);
        QCOMPARE(rec.events[0], QStringLiteral("3:P> 5 Numero COMMport (7) errato"));
        QCOMPARE(rec.events[5], QStringLiteral("3:P> 0 Numero COMMport (7) errato"));
        QVERIFY2(
            rec.events[6].startsWith(QStringLiteral("3:P> Cannot open %1 (COM7): no such device.")
                                         .arg(options.comMap[7])),
            qPrintable(rec.events[6]));
        QVERIFY(!device.aInizializzaCOMM(7, QStringLiteral("fast,N,8,1")));
        QVERIFY(rec.events.last().contains(QStringLiteral("115200,N,8,1")));
    }
    // Without a mapping COMn is the n-th built-in port.
    SerialLine line(ServerOptions{});
    line.setCommPort(6);
    QCOMPARE(line.target(), QStringLiteral("/dev/ttyS5"));

    // A port this user may not open, and one that another program holds.
    if (::geteuid() != 0) {
        const QString locked = dir.filePath(QStringLiteral("ttyLocked"));
        QFile f(locked);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.close();
        QVERIFY(f.setPermissions(QFileDevice::Permissions()));
        options.comMap[8] = locked;
        SerialLine denied(options);
        denied.setCommPort(8);
        QVERIFY(!denied.setPortOpen(true));
        QVERIFY2(denied.lastError().endsWith(QStringLiteral(
                     "Permission denied. Add your user to the group dialout and log in again.")),
                 qPrintable(denied.lastError()));
    }
    Rig rig;
    QSerialPort holder(rig.server->path());
    QVERIFY(holder.open(QIODevice::ReadWrite));
    QVERIFY(!rig.open());
    QVERIFY2(rig.rec.events.last().contains(QStringLiteral("busy")),
             qPrintable(rig.rec.events.last()));
}

QTEST_GUILESS_MAIN(PicDeviceTest)
#include "PicDeviceTest.moc"
