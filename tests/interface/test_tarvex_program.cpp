// The tarvex program itself: its command line and the objects it serves.
#include "IpcFixture.h"
#include "ServedInterfaceCheck.h"
#include "SocketFolder.h"

#include <QDBusInterface>
#include <QDBusMessage>
#include <QDBusReply>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <csignal>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <sys/un.h>
#include <unistd.h>

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

TEST(TarvexProgram, StrangersAtTheSocketDoNotTakeTheServer) {
    testApp();
    TarvexLauncher launcher;
    launcher.setProgramDir(binDir());
    bool rawConnected = false;
    bool strangerConnected = false;
    QDBusMessage strangerCall;
    QDBusMessage strangerHello;
    // Before the launcher connects: a raw connect that sends nothing and goes away, and a
    // D-Bus peer of the same user that has no secret.
    launcher.setBeforeConnect([&](const QString& address) {
        const QByteArray path = QFile::encodeName(address.mid(QStringLiteral("unix:path=").size()));
        const int raw = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_un sa = {};
        sa.sun_family = AF_UNIX;
        std::memcpy(sa.sun_path, path.constData(), static_cast<size_t>(path.size()));
        rawConnected = ::connect(raw, reinterpret_cast<sockaddr*>(&sa), sizeof sa) == 0;

        QDBusConnection stranger = QDBusConnection::connectToPeer(address, "stranger");
        strangerConnected = stranger.isConnected();
        QDBusMessage open = QDBusMessage::createMethodCall(
            QString(), QStringLiteral("/cAsyncLPT"), QStringLiteral("org.orvane.Tarvex.cAsyncLPT"),
            QStringLiteral("aInizializzaLPT"));
        open << qint16(888);
        strangerCall = stranger.call(open, QDBus::Block, 5000);
        QDBusMessage hello = QDBusMessage::createMethodCall(
            QString(), QStringLiteral("/"), QStringLiteral("org.orvane.Tarvex.Peer"),
            QStringLiteral("Hello"));
        hello << QStringLiteral("0123456789abcdef");
        strangerHello = stranger.call(hello, QDBus::Block, 5000);
        ::close(raw);
    });
    QString error;
    ASSERT_TRUE(launcher.start({QStringLiteral("--lpt-driver"), QStringLiteral("sim"),
                                QStringLiteral("--sim-pace"), QStringLiteral("max")},
                               &error))
        << qPrintable(error);
    EXPECT_TRUE(rawConnected);
    ASSERT_TRUE(strangerConnected);
    EXPECT_EQ(strangerCall.type(), QDBusMessage::ErrorMessage);
    EXPECT_EQ(strangerHello.type(), QDBusMessage::ErrorMessage);
    EXPECT_EQ(strangerHello.errorName(), QStringLiteral("org.freedesktop.DBus.Error.AccessDenied"))
        << qPrintable(strangerHello.errorMessage());
    QDBusConnection::disconnectFromPeer(QStringLiteral("stranger"));
    spin(300);
    ASSERT_TRUE(launcher.isRunning()) << qPrintable(launcher.lastError());

    // The launcher's own connection binds the device and sweeps.
    CAsyncLPTProxy lpt(QString(), QStringLiteral("/cAsyncLPT"), launcher.connection());
    int vectors = 0;
    bool complete = false;
    QObject::connect(&lpt, &CAsyncLPTProxy::aVettore, &lpt, [&](const QList<qint16>& v) {
        if (v.size() == 406)
            ++vectors;
    });
    QObject::connect(&lpt, &CAsyncLPTProxy::aComplete, &lpt, [&] { complete = true; });
    ASSERT_TRUE(lpt.aInizializzaLPT(888).value());
    lpt.setADeviceDDS(QStringLiteral("AD9850"));
    lpt.setADeviceADC(QStringLiteral("10bit"));
    lpt.setAClock(100e6);
    lpt.setAMultiplier(0);
    lpt.aInizializzaDDS().waitForFinished();
    lpt.aInizializzaSweep(1000000, 1000).waitForFinished();
    lpt.aStartLPT().waitForFinished();
    ASSERT_TRUE(waitUntil([&] { return vectors >= 1; }));
    lpt.setASweepON(2);
    ASSERT_TRUE(waitUntil([&] { return complete; }));
    EXPECT_TRUE(launcher.isRunning());
    EXPECT_EQ(::kill(static_cast<pid_t>(launcher.serverPid()), 0), 0);
    EXPECT_TRUE(launcher.stop());
}

TEST(TarvexProgram, StaleSocketFoldersAreRemovedAtTheNextStart) {
    testApp();
    QTemporaryDir runtime;
    ASSERT_TRUE(runtime.isValid());
    const QByteArray savedRuntime = qgetenv("XDG_RUNTIME_DIR");
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime.path()));
    QDir base(runtime.path());
    const auto folder = [&](const char* name, bool withLock) {
        base.mkdir(QLatin1String(name));
        QFile(base.filePath(QLatin1String(name) + QStringLiteral("/tarvex")))
            .open(QIODevice::WriteOnly);
        if (withLock)
            QFile(base.filePath(QLatin1String(name) + QStringLiteral("/lock")))
                .open(QIODevice::WriteOnly);
        return base.filePath(QLatin1String(name));
    };
    // A program that was killed: its lock file stays, unlocked.
    folder("sweep-tarvex-dead01", true);
    // Left by an earlier version (no lock file), an hour old.
    const QString old = folder("sweep-tarvex-old001", false);
    const timeval hourAgo[2] = {{::time(nullptr) - 3600, 0}, {::time(nullptr) - 3600, 0}};
    ASSERT_EQ(::utimes(QFile::encodeName(old).constData(), hourAgo), 0);
    // A folder whose program is making it right now, and one that is not ours to touch.
    folder("sweep-tarvex-new001", false);
    folder("other-folder", true);
    // A folder in use by another program: its lock is held.
    const QString held = folder("sweep-tarvex-held01", true);
    const int heldFd =
        ::open(QFile::encodeName(held + QStringLiteral("/lock")).constData(), O_RDWR | O_CLOEXEC);
    ASSERT_EQ(::flock(heldFd, LOCK_EX | LOCK_NB), 0);

    // A running server's folder is in use too.
    TarvexLauncher first;
    first.setProgram(binDir() + QStringLiteral("/tarvex-testserver"));
    QString error;
    ASSERT_TRUE(first.start({}, &error)) << qPrintable(error);
    const QStringList afterFirst =
        base.entryList({QStringLiteral("sweep-tarvex-*")}, QDir::Dirs | QDir::NoDotAndDotDot);
    EXPECT_EQ(afterFirst.size(), 3) << qPrintable(afterFirst.join(' '));

    TarvexLauncher second;
    second.setProgram(binDir() + QStringLiteral("/tarvex-testserver"));
    ASSERT_TRUE(second.start({}, &error)) << qPrintable(error);
    EXPECT_TRUE(base.exists(QStringLiteral("sweep-tarvex-new001")));
    EXPECT_TRUE(base.exists(QStringLiteral("sweep-tarvex-held01")));
    EXPECT_TRUE(base.exists(QStringLiteral("other-folder")));
    EXPECT_EQ(base.entryList({QStringLiteral("sweep-tarvex-*")}, QDir::Dirs | QDir::NoDotAndDotDot)
                  .size(),
              4); // new, held and the two servers'
    // The first server still works.
    CAsyncPICProxy pic(QString(), QStringLiteral("/cAsyncPIC"), first.connection());
    EXPECT_TRUE(pic.aInizializzaCOMM(2, QStringLiteral("9600,N,8,1")).value());

    // Once released, the held folder goes at the next start; a server's own folder goes
    // with its stop.
    ::close(heldFd);
    EXPECT_TRUE(first.stop());
    EXPECT_EQ(SocketFolder::removeStale(runtime.path()), 1);
    EXPECT_FALSE(base.exists(QStringLiteral("sweep-tarvex-held01")));
    EXPECT_TRUE(second.stop());
    EXPECT_EQ(base.entryList({QStringLiteral("sweep-tarvex-*")}, QDir::Dirs | QDir::NoDotAndDotDot),
              QStringList{QStringLiteral("sweep-tarvex-new001")});
    qputenv("XDG_RUNTIME_DIR", savedRuntime);
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
