// The tarvex program itself: its command line and the objects it serves.
#include "IpcFixture.h"
#include "ServedInterfaceCheck.h"

#include <QDBusInterface>
#include <QDBusReply>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

namespace {

struct ProgramRun {
    int code;
    QString out;
    QString err;
};

ProgramRun runProgram(const QStringList& args) {
    QProcess p;
    p.start(binDir() + QStringLiteral("/tarvex"), args);
    if (!p.waitForFinished(10000)) {
        p.kill();
        p.waitForFinished();
        return {-1, {}, QStringLiteral("did not end")};
    }
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
            QString::fromLocal8Bit(p.readAllStandardOutput()),
            QString::fromLocal8Bit(p.readAllStandardError())};
}

TEST(TarvexProgram, BadCommandLineExitsTwoWithMessage) {
    testApp();
    const struct {
        QStringList args;
        const char* mentions;
    } cases[] = {
        {{QStringLiteral("--bogus")}, "unknown option \"--bogus\""},
        {{QStringLiteral("--session"), QStringLiteral("--lpt-driver"), QStringLiteral("winio")},
         "winio"},
        {{QStringLiteral("--session"), QStringLiteral("--com"), QStringLiteral("COM1")}, "COM1"},
        {{}, "--listen"},
    };
    for (const auto& c : cases) {
        const ProgramRun r = runProgram(c.args);
        EXPECT_EQ(r.code, 2) << qPrintable(c.args.join(' '));
        EXPECT_TRUE(r.err.contains(QLatin1String(c.mentions))) << qPrintable(r.err);
        EXPECT_TRUE(r.err.contains(QLatin1String("Usage: tarvex"))) << qPrintable(r.err);
        EXPECT_FALSE(r.out.contains(QLatin1String("READY")));
    }
    const ProgramRun help = runProgram({QStringLiteral("--help")});
    EXPECT_EQ(help.code, 0);
    EXPECT_TRUE(help.out.contains(QLatin1String("--sim-pace")));
}

TEST(TarvexProgram, UnusableAddressIsReported) {
    testApp();
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString address =
        QStringLiteral("unix:path=") + dir.filePath(QStringLiteral("no/such/s"));
    const ProgramRun r = runProgram({QStringLiteral("--listen"), address});
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.err.contains(address)) << qPrintable(r.err);
    EXPECT_FALSE(r.out.contains(QLatin1String("READY")));
}

TEST(TarvexProgram, ServedObjectsMatchTheirInterfaces) {
    testApp();
    TarvexLauncher launcher;
    launcher.setProgramDir(binDir());
    QString error;
    ASSERT_TRUE(launcher.start({QStringLiteral("--lpt-driver"), QStringLiteral("sim"),
                                QStringLiteral("--com"), QStringLiteral("1=sim:pic"),
                                QStringLiteral("--com"), QStringLiteral("2=sim:vna"),
                                QStringLiteral("--sim-pace"), QStringLiteral("max")},
                               &error))
        << qPrintable(error);
    const struct {
        const char* node;
        const char* interface;
        const char* xml;
    } objects[] = {
        {"cAsyncPIC", "org.orvane.Tarvex.cAsyncPIC", TARVEX_XML_PIC_FILE},
        {"cAsyncLPT", "org.orvane.Tarvex.cAsyncLPT", TARVEX_XML_LPT_FILE},
        {"cAsyncMiniVNA", "org.orvane.Tarvex.cAsyncMiniVNA", TARVEX_XML_VNA_FILE},
    };
    QDBusInterface root(QString(), QStringLiteral("/"),
                        QStringLiteral("org.freedesktop.DBus.Introspectable"),
                        launcher.connection());
    const QDBusReply<QString> tree = root.call(QStringLiteral("Introspect"));
    ASSERT_TRUE(tree.isValid()) << qPrintable(tree.error().message());
    // Each device library decides whether its object is served; whatever is served must
    // match its interface exactly and carry the credit window.
    for (const auto& o : objects) {
        if (!tree.value().contains(QStringLiteral("<node name=\"%1\"").arg(QLatin1String(o.node))))
            continue;
        QFile file(QString::fromLatin1(o.xml));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QStringList expected =
            interfaceMembers(QString::fromUtf8(file.readAll()), QString::fromLatin1(o.interface));
        QDBusInterface intro(QString(), QLatin1Char('/') + QLatin1String(o.node),
                             QStringLiteral("org.freedesktop.DBus.Introspectable"),
                             launcher.connection());
        const QDBusReply<QString> served = intro.call(QStringLiteral("Introspect"));
        ASSERT_TRUE(served.isValid());
        EXPECT_EQ(interfaceMembers(served.value(), QString::fromLatin1(o.interface)), expected)
            << o.node;
        EXPECT_EQ(interfaceMembers(served.value(), QStringLiteral("org.orvane.Tarvex.Flow")).size(),
                  2)
            << o.node;
    }
    EXPECT_TRUE(launcher.stop());
}

TEST(TarvexProgram, SimLogRecordsWhatTheHardwareSawInOrder) {
    testApp();
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    // A log that cannot be written is reported at once, before any client comes.
    const QString badLog = dir.filePath(QStringLiteral("no/such/sim.log"));
    const ProgramRun bad =
        runProgram({QStringLiteral("--listen"),
                    QStringLiteral("unix:path=") + dir.filePath(QStringLiteral("s")),
                    QStringLiteral("--lpt-driver"), QStringLiteral("sim"),
                    QStringLiteral("--sim-log"), badLog});
    EXPECT_EQ(bad.code, 1);
    EXPECT_TRUE(bad.err.contains(badLog)) << qPrintable(bad.err);
    EXPECT_FALSE(bad.out.contains(QLatin1String("READY")));
    EXPECT_TRUE(runProgram({QStringLiteral("--help")}).out.contains(QLatin1String("--sim-log")));

    const QString logPath = dir.filePath(QStringLiteral("sim.log"));
    TarvexLauncher launcher;
    launcher.setProgramDir(binDir());
    QString error;
    ASSERT_TRUE(launcher.start({QStringLiteral("--lpt-driver"), QStringLiteral("sim"),
                                QStringLiteral("--com"), QStringLiteral("1=sim:pic"),
                                QStringLiteral("--sim-pace"), QStringLiteral("max"),
                                QStringLiteral("--sim-log"), logPath},
                               &error))
        << qPrintable(error);
    CAsyncLPTProxy lpt(QString(), QStringLiteral("/cAsyncLPT"), launcher.connection());
    CAsyncPICProxy pic(QString(), QStringLiteral("/cAsyncPIC"), launcher.connection());
    ASSERT_TRUE(lpt.aInizializzaLPT(888).value());
    lpt.setADeviceDDS(QStringLiteral("AD9850"));
    lpt.setADeviceADC(QStringLiteral("8bit"));
    lpt.setAClock(100e6);
    lpt.setAMultiplier(0);
    lpt.aInizializzaDDS().waitForFinished();
    lpt.aSetFrequenzaDDS(10000000).waitForFinished();
    lpt.aSetAttenuator(0xA5, 1).waitForFinished();
    lpt.aExitLPT().waitForFinished();
    ASSERT_TRUE(pic.aInizializzaCOMM(1, QStringLiteral("115200,N,8,1")).value());
    EXPECT_TRUE(pic.aScriviPIC(QStringLiteral("A"), 7000000).value());
    // The window's shutdown: stop, then close the port, which ends the server.
    pic.setASweepON(2);
    launcher.expectExit();
    pic.aExitCOMM().waitForFinished();
    EXPECT_TRUE(launcher.stop()); // it had ended by itself

    QFile file(logPath);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
    // 2^32 / 100 MHz x 10 MHz = 429496729.6, loaded as 429496730: 10000000.009 Hz.
    const QStringList expected = {
        QStringLiteral("lpt: port open at 888"),
        QStringLiteral("dds: reset"),
        QStringLiteral("dds: load 429496730 control 0x00 bits 40 -> 10000000.009 Hz"),
        QStringLiteral("aux1: latch 0xa5"),
        QStringLiteral("lpt: port closed"),
        QStringLiteral("pic: port open"),
        QStringLiteral("pic: A 7000000"),
        QStringLiteral("pic: E"),
        QStringLiteral("pic: port closed"),
    };
    qsizetype at = -1;
    for (const QString& line : expected) {
        const qsizetype next = lines.indexOf(line, at + 1);
        EXPECT_GT(next, at) << qPrintable(line) << " missing or out of order in:\n"
                            << qPrintable(lines.join(QLatin1Char('\n')));
        if (next < 0)
            break;
        at = next;
    }
    EXPECT_EQ(lines.count(QStringLiteral("dds: reset")), 1);
}

TEST(TarvexProgram, SessionBusServesTheObjectsUnderTheServiceName) {
    testApp();
    QProcess bus;
    bus.start(QStringLiteral("dbus-daemon"),
              {QStringLiteral("--session"), QStringLiteral("--nofork"),
               QStringLiteral("--print-address")});
    if (!bus.waitForStarted(5000))
        GTEST_SKIP() << "dbus-daemon is missing: install the package dbus-daemon";
    ASSERT_TRUE(waitUntil([&] { return bus.canReadLine() || bus.waitForReadyRead(50); }));
    const QString address = QString::fromLocal8Bit(bus.readLine()).trimmed();
    ASSERT_FALSE(address.isEmpty());

    QProcess server;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), address);
    server.setProcessEnvironment(env);
    server.start(binDir() + QStringLiteral("/tarvex-testserver"), {QStringLiteral("--session")});
    ASSERT_TRUE(waitUntil([&] {
        server.waitForReadyRead(50);
        return server.peek(64).contains("READY") || server.state() == QProcess::NotRunning;
    }));
    ASSERT_TRUE(server.readAll().contains("READY"))
        << qPrintable(QString::fromLocal8Bit(server.readAllStandardError()));

    {
        QDBusConnection c = QDBusConnection::connectToBus(address, QStringLiteral("test-session"));
        ASSERT_TRUE(c.isConnected());
        CAsyncPICProxy pic(QStringLiteral("org.orvane.Tarvex"), QStringLiteral("/cAsyncPIC"), c);
        QStringList lines;
        QObject::connect(&pic, &CAsyncPICProxy::aErrore, &pic,
                         [&](short, const QString& text) { lines << text; });
        EXPECT_TRUE(pic.aInizializzaCOMM(2, QStringLiteral("9600,N,8,1")).value());
        ASSERT_TRUE(waitUntil([&] { return !lines.isEmpty(); }));
        EXPECT_EQ(lines.first(), QStringLiteral("P> COMMport inizializzata 9600,N,8,1"));
    }
    QDBusConnection::disconnectFromBus(QStringLiteral("test-session"));

    // SIGTERM ends it cleanly.
    server.terminate();
    EXPECT_TRUE(server.waitForFinished(5000));
    EXPECT_EQ(server.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(server.exitCode(), 0);
    bus.terminate();
    bus.waitForFinished(5000);
}

} // namespace
