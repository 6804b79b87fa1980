// The serial devices as a client reaches them: through tarvex and D-Bus, on the in-process
// sim:pic and sim:vna lines, with sweep-sim on a pseudo-terminal for the command line.
#include "CAsyncMiniVNAProxy.h"
#include "CAsyncPICProxy.h"
#include "FlowProxy.h"
#include "TarvexLauncher.h"
#include "TarvexTypes.h"

#include <QDBusMessage>
#include <QDBusPendingCall>
#include <QDBusVariant>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

namespace {
QString binDir() {
    return qEnvironmentVariable("SWEEP_BIN_DIR", QCoreApplication::applicationDirPath());
}

// Events as "0:P> text", "V", "C"; stops the sweep after the first vector, as Sweep OFF would.
// Acknowledges each vector through the credit window, as Sweep does.
template <typename Proxy, typename Sample> struct Client {
    Client(Proxy* p, const QString& path, const QDBusConnection& c)
        : proxy(p), flow(QString(), path, c) {
        flow.SetVectorWindow(1).waitForFinished();
        QObject::connect(p, &Proxy::aErrore, p, [this](short code, const QString& text) {
            events << QString::number(code) + QLatin1Char(':') + text;
        });
        QObject::connect(p, &Proxy::aVettore, p, [this](const QList<Sample>& v) {
            events << QStringLiteral("V");
            vectors << v;
            if (vectors.size() == 1)
                proxy->setASweepON(2);
            flow.AckVettore();
        });
        QObject::connect(p, &Proxy::aComplete, p, [this] { events << QStringLiteral("C"); });
    }
    // From the start log line on: vectors only (the one under way when the stop arrived may
    // follow the first), then the end log line and aComplete.
    bool loopEndedCleanly(const QString& prefix) const {
        const qsizetype at = events.indexOf(prefix + QStringLiteral("avvio ciclo di sweep"));
        if (at < 0 || events.size() < at + 4 || events[at + 1] != QLatin1String("V"))
            return false;
        for (qsizetype i = at + 2; i < events.size() - 2; ++i)
            if (events[i] != QLatin1String("V"))
                return false;
        return events.mid(events.size() - 2) ==
               QStringList({prefix + QStringLiteral("fine ciclo sweep"), QStringLiteral("C")});
    }

    Proxy* proxy;
    FlowProxy flow;
    QStringList events;
    QList<QList<Sample>> vectors;
};
} // namespace

class TarvexSerialTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { tarvex::registerTypes(); }
    void picSweepsThroughTheServer();
    void vnaSweepsThroughTheServer();
    void sweepSimServesOverItsLink();
    void stopIsServedWithoutCreditWindowOnUnpacedLines();
    void bothProgramsOfferEveryDeviceUnderTest();
};

void TarvexSerialTest::picSweepsThroughTheServer() {
    TarvexLauncher launcher;
    launcher.setProgramDir(binDir());
    QString error;
    QVERIFY2(launcher.start({QStringLiteral("--com"), QStringLiteral("6=sim:pic"),
                             QStringLiteral("--sim-pace"), QStringLiteral("max"),
                             QStringLiteral("--sim-dut"), QStringLiteral("ramp")},
                            &error),
             qPrintable(error));
    CAsyncPICProxy pic(QString(), QStringLiteral("/cAsyncPIC"), launcher.connection());
    Client<CAsyncPICProxy, qint16> client(&pic, QStringLiteral("/cAsyncPIC"),
                                          launcher.connection());
    QVERIFY(pic.aInizializzaCOMM(6, QStringLiteral("115200,N,8,1")).value());
    QVERIFY(pic.aInizializzaSweep(1000000, 10000).value());
    pic.Start().waitForFinished();
    QTRY_VERIFY_WITH_TIMEOUT(client.events.contains(QStringLiteral("C")), 10000);
    QVERIFY2(client.loopEndedCleanly(QStringLiteral("0:P> ")),
             qPrintable(client.events.join(QLatin1Char('|'))));
    QCOMPARE(client.events[4], QStringLiteral("0:P> :F000000000\r ACK\r\n"));
    QCOMPARE(client.vectors[0].size(), 406);
    QCOMPARE(client.vectors[0][1], qint16(100));
    QCOMPARE(client.vectors[0][400], qint16(499));
    QCOMPARE(pic.aSweepON(), short(0));
    QVERIFY(launcher.stop());
}

void TarvexSerialTest::vnaSweepsThroughTheServer() {
    TarvexLauncher launcher;
    launcher.setProgramDir(binDir());
    QString error;
    QVERIFY2(launcher.start({QStringLiteral("--com"), QStringLiteral("3=sim:vna"),
                             QStringLiteral("--sim-pace"), QStringLiteral("max"),
                             QStringLiteral("--sim-dut"), QStringLiteral("ramp")},
                            &error),
             qPrintable(error));
    CAsyncMiniVNAProxy vna(QString(), QStringLiteral("/cAsyncMiniVNA"), launcher.connection());
    Client<CAsyncMiniVNAProxy, double> client(&vna, QStringLiteral("/cAsyncMiniVNA"),
                                              launcher.connection());
    QVERIFY(vna.aInizializzaCOMM(3, QString()).value());
    vna.setAClock(100000000.0);
    vna.setAMultiplier(1);
    vna.setAMisura(2);
    vna.aInizializzaSweep(1000000, 10000, 400).waitForFinished();
    vna.Start().waitForFinished();
    QTRY_VERIFY_WITH_TIMEOUT(client.events.contains(QStringLiteral("C")), 10000);
    QVERIFY2(client.loopEndedCleanly(QStringLiteral("0:V> ")),
             qPrintable(client.events.join(QLatin1Char('|'))));
    QCOMPARE(client.vectors[0].size(), 401);
    QCOMPARE(client.vectors[0][1], 100.0);
    QVERIFY(launcher.stop());
}

void TarvexSerialTest::sweepSimServesOverItsLink() {
    QTemporaryDir dir;
    const QString link = dir.filePath(QStringLiteral("ttyPIC"));
    QProcess sim;
    sim.start(binDir() + QStringLiteral("/sweep-sim"),
              {QStringLiteral("pic"), QStringLiteral("--link"), link, QStringLiteral("--baud"),
               QStringLiteral("0"), QStringLiteral("--fault"), QStringLiteral("noack")});
    QVERIFY2(sim.waitForReadyRead(5000), qPrintable(sim.errorString()));
    QVERIFY(sim.readLine().startsWith("/dev/pts/"));

    TarvexLauncher launcher;
    launcher.setProgramDir(binDir());
    QString error;
    QVERIFY2(launcher.start({QStringLiteral("--com"), QStringLiteral("5=") + link}, &error),
             qPrintable(error));
    CAsyncPICProxy pic(QString(), QStringLiteral("/cAsyncPIC"), launcher.connection());
    Client<CAsyncPICProxy, qint16> client(&pic, QStringLiteral("/cAsyncPIC"),
                                          launcher.connection());
    QVERIFY(pic.aInizializzaCOMM(5, QStringLiteral("115200,N,8,1")).value());
    QVERIFY(!pic.aScriviPIC(QStringLiteral("A"), 7000000).value());
    QTRY_COMPARE(client.events.size(), 7);
    QCOMPARE(client.events.last(), QStringLiteral("0:P> :A007000000\r NAK\r\n"));
    QVERIFY(launcher.stop());

    sim.terminate();
    QVERIFY(sim.waitForFinished(5000));
    QVERIFY(!QFileInfo::exists(link)); // the link goes with the simulator
}

void TarvexSerialTest::stopIsServedWithoutCreditWindowOnUnpacedLines() {
    // A client that does not opt into the credit window (a script) and unpaced models: the
    // bytes of the next block are always there, so the loop never waits on the line. It must
    // still serve a stop request promptly, and the server must end by itself afterwards.
    const struct {
        QString path, interface, com;
    } devices[] = {
        {QStringLiteral("/cAsyncPIC"), QStringLiteral("org.orvane.Tarvex.cAsyncPIC"),
         QStringLiteral("6=sim:pic")},
        {QStringLiteral("/cAsyncMiniVNA"), QStringLiteral("org.orvane.Tarvex.cAsyncMiniVNA"),
         QStringLiteral("3=sim:vna")},
    };
    for (const auto& d : devices) {
        TarvexLauncher launcher;
        launcher.setProgramDir(binDir());
        QString error;
        QVERIFY2(launcher.start({QStringLiteral("--com"), d.com, QStringLiteral("--sim-pace"),
                                 QStringLiteral("max")},
                                &error),
                 qPrintable(error));
        int vectors = 0;
        bool complete = false;
        std::unique_ptr<CAsyncPICProxy> pic;
        std::unique_ptr<CAsyncMiniVNAProxy> vna;
        if (d.path == QLatin1String("/cAsyncPIC")) {
            pic = std::make_unique<CAsyncPICProxy>(QString(), d.path, launcher.connection());
            connect(pic.get(), &CAsyncPICProxy::aVettore, this, [&] { ++vectors; });
            connect(pic.get(), &CAsyncPICProxy::aComplete, this, [&] { complete = true; });
            QVERIFY(pic->aInizializzaCOMM(6, QStringLiteral("115200,N,8,1")).value());
            QVERIFY(pic->aInizializzaSweep(1000000, 10000).value());
            pic->Start().waitForFinished();
        } else {
            vna = std::make_unique<CAsyncMiniVNAProxy>(QString(), d.path, launcher.connection());
            connect(vna.get(), &CAsyncMiniVNAProxy::aVettore, this, [&] { ++vectors; });
            connect(vna.get(), &CAsyncMiniVNAProxy::aComplete, this, [&] { complete = true; });
            QVERIFY(vna->aInizializzaCOMM(3, QString()).value());
            vna->setAClock(100000000.0);
            vna->setAMultiplier(1);
            vna->setAMisura(2);
            vna->aInizializzaSweep(1000000, 10000, 400).waitForFinished();
            vna->Start().waitForFinished();
        }
        QVERIFY2(QTest::qWaitFor([&] { return vectors > 0; }, 5000), qPrintable(d.path));

        // aSweepON = 2 with a bounded wait of its own: a loop that never yields would leave
        // the proxy's blocking call hanging for its full time-out.
        QDBusMessage set = QDBusMessage::createMethodCall(
            QString(), d.path, QStringLiteral("org.freedesktop.DBus.Properties"),
            QStringLiteral("Set"));
        set << d.interface << QStringLiteral("aSweepON")
            << QVariant::fromValue(QDBusVariant(QVariant::fromValue<short>(2)));
        QDBusPendingCall reply = launcher.connection().asyncCall(set, 3000);
        QVERIFY2(QTest::qWaitFor([&] { return complete; }, 3000),
                 qPrintable(d.path + QStringLiteral(": no aComplete")));
        reply.waitForFinished();
        QVERIFY2(!reply.isError(), qPrintable(reply.error().message()));
        QVERIFY2(launcher.stop(), qPrintable(d.path + QStringLiteral(": tarvex had to be killed")));
    }
}

void TarvexSerialTest::bothProgramsOfferEveryDeviceUnderTest() {
    auto run = [](const QString& program, const QStringList& args, int* status) {
        QProcess p;
        p.start(binDir() + program, args);
        p.waitForFinished(10000);
        *status = p.exitCode();
        return QString::fromUtf8(p.readAllStandardOutput() + p.readAllStandardError());
    };
    int status = -1;
    const QString simHelp = run(QStringLiteral("/sweep-sim"), {QStringLiteral("--help")}, &status);
    QCOMPARE(status, 0);
    const QString tarvexHelp = run(QStringLiteral("/tarvex"), {QStringLiteral("--help")}, &status);
    QCOMPARE(status, 0);
    for (const char* dut : {"bandpass", "through", "lowpass", "notch", "ramp", "flat"}) {
        const QString entry = QLatin1String(dut) + QStringLiteral(": ");
        QVERIFY2(simHelp.contains(entry), qPrintable(simHelp));
        QVERIFY2(tarvexHelp.contains(entry), qPrintable(tarvexHelp));
    }
    QVERIFY(simHelp.contains(QStringLiteral("the generator straight into the detector")));

    const QString refused =
        run(QStringLiteral("/sweep-sim"),
            {QStringLiteral("pic"), QStringLiteral("--dut"), QStringLiteral("nonesuch")}, &status);
    QCOMPARE(status, 2);
    QVERIFY2(refused.contains(QStringLiteral("\"nonesuch\"; use bandpass, through, lowpass, "
                                             "notch, ramp or flat")),
             qPrintable(refused));
}

QTEST_GUILESS_MAIN(TarvexSerialTest)
#include "TarvexSerialTest.moc"
