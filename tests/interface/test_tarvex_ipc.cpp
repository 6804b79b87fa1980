// Client and server across the real process boundary: a tarvex serving the test devices,
// reached through TarvexLauncher and the generated proxies.
#include "IpcFixture.h"
#include "ServedInterfaceCheck.h"

#include <QDBusInterface>
#include <QDBusReply>
#include <QFile>
#include <csignal>

namespace {

TEST_F(IpcTest, StartReturnsFirstThenRunsOnceUntilStopped) {
    EventLog log;
    log.attach(pic);
    log.reply(pic->Start(), QStringLiteral("1"), &owner);
    log.reply(pic->Start(), QStringLiteral("2"), &owner);
    ASSERT_TRUE(waitUntil([&] { return log.vectors() >= 3; })) << qPrintable(log.dump());
    EXPECT_EQ(pic->aSweepON(), 4);
    pic->setASweepON(2);
    ASSERT_TRUE(waitUntil([&] { return log.complete(); })) << qPrintable(log.dump());

    // The reply of the start request comes before the loop's events, and the loop's first
    // event is its start line. (The refusal of the second request is raised inside that
    // request, so its place among the replies is not fixed.)
    const qsizetype firstLoopEvent =
        log.events.indexOf(QStringLiteral("E0:P> avvio ciclo di sweep"));
    EXPECT_GE(firstLoopEvent, 0) << qPrintable(log.dump());
    EXPECT_LT(log.events.indexOf(QStringLiteral("R1")), firstLoopEvent) << qPrintable(log.dump());
    for (qsizetype i = 0; i < firstLoopEvent; ++i)
        EXPECT_TRUE(log.events[i].startsWith(QLatin1Char('R')) ||
                    log.events[i].startsWith(QLatin1String("E3:")))
            << qPrintable(log.dump());
    // The second request was refused and queued nothing.
    EXPECT_EQ(log.events.count(QStringLiteral("E3:P> Sweep già in esecuzione")), 1);
    EXPECT_EQ(log.events.count(QStringLiteral("E0:P> avvio ciclo di sweep")), 1);
    // The end: the end line and aComplete follow the last vector; the state reads 0.
    const qsizetype n = log.events.size();
    EXPECT_TRUE(log.events.at(n - 3).startsWith(QLatin1Char('V'))) << qPrintable(log.dump());
    EXPECT_EQ(log.events.at(n - 2), QStringLiteral("E0:P> fine ciclo sweep"));
    EXPECT_EQ(log.events.at(n - 1), QStringLiteral("C"));
    EXPECT_EQ(pic->aSweepON(), 0);
    EXPECT_EQ(log.vectorSize, 406);
    EXPECT_EQ(log.passes.first(), 1);
    EXPECT_TRUE(log.consecutive());

    // Idle again: a new start runs a new loop.
    log.events.clear();
    pic->Start().waitForFinished();
    ASSERT_TRUE(waitUntil(
        [&] { return log.events.contains(QStringLiteral("E0:P> avvio ciclo di sweep")); }));
    pic->setASweepON(2);
    ASSERT_TRUE(waitUntil([&] { return log.complete(); }));
}

TEST_F(IpcTest, EverySignalOfEveryClassArrives) {
    EventLog picLog, lptLog, vnaLog;
    picLog.attach(pic);
    lptLog.attach(lpt);
    vnaLog.attach(vna);
    lpt->aInizializzaSweep(1000000, 2500).waitForFinished();
    vna->aInizializzaSweep(1000000, 2500, 300).waitForFinished();
    pic->Start();
    lpt->aStartLPT();
    vna->Start();
    ASSERT_TRUE(waitUntil(
        [&] { return vnaLog.vectors() >= 2 || lptLog.vectors() >= 2 || picLog.vectors() >= 2; }));
    // The three loops run one after another: stop each in turn.
    for (auto* l : {&picLog, &lptLog, &vnaLog}) {
        pic->setASweepON(2);
        lpt->setASweepON(2);
        vna->setASweepON(2);
        ASSERT_TRUE(waitUntil([&] { return l->complete(); })) << qPrintable(l->dump());
    }
    EXPECT_EQ(picLog.vectorSize, 406);
    EXPECT_EQ(lptLog.vectorSize, 406);
    EXPECT_EQ(vnaLog.vectorSize, 401);
    EXPECT_EQ(lptLog.events.first(), QStringLiteral("E0:L> StartFreq: 1000000"));
    EXPECT_EQ(lptLog.events.at(1), QStringLiteral("E0:L> StepFreq: 2500"));
    EXPECT_TRUE(vnaLog.events.contains(QStringLiteral("E0:V> fine ciclo sweep")));
    EXPECT_TRUE(lptLog.events.contains(QStringLiteral("E0:L> fine ciclo sweep")));
    for (auto* l : {&picLog, &lptLog, &vnaLog})
        EXPECT_EQ(l->events.last(), QStringLiteral("C"));
}

TEST_F(IpcTest, MethodsAndPropertiesCarryTheirTypes) {
    EventLog log;
    log.attach(lpt);
    lpt->setADeviceDDS(QStringLiteral("AD9851"));
    lpt->setAClock(180e6);
    lpt->setASpeed(2);
    EXPECT_EQ(lpt->aDeviceDDS(), QStringLiteral("AD9851"));
    EXPECT_DOUBLE_EQ(lpt->aClock(), 180e6);
    EXPECT_EQ(lpt->aReadADC().value(), 205);
    EXPECT_TRUE(lpt->aInizializzaLPT(888).value());
    EXPECT_FALSE(lpt->aInizializzaLPT(0).value());
    EXPECT_TRUE(lpt->aSetAmpli(1, 2, 254).value());
    EXPECT_FALSE(lpt->aSetAmpli(1, 2, 255).value());
    EXPECT_TRUE(lpt->i2c_Ack().value());
    lpt->aSetAttenuator(200, 1).waitForFinished();
    lpt->aSetFrequenzaDDS(-5000).waitForFinished();
    ASSERT_TRUE(waitUntil([&] { return log.events.size() >= 6; }));
    EXPECT_TRUE(log.events.contains(QStringLiteral("E0:L> aux 1 = 200")));
    EXPECT_TRUE(log.events.contains(QStringLiteral("E0:L> freq -5000")));
    EXPECT_TRUE(log.events.contains(QStringLiteral("E0:L> pot 1 2 254")));

    EXPECT_TRUE(pic->aInizializzaCOMM(3, QStringLiteral("115200,N,8,1")).value());
    EXPECT_FALSE(pic->aInizializzaCOMM(0, QString()).value());
    pic->setASlowCPU(3);
    EXPECT_EQ(pic->mySlowCPU(), 3);
    vna->setAMisura(1);
    EXPECT_EQ(vna->aMisura(), 1);
}

TEST_F(IpcTest, CallsAreServedWhileALoopRuns) {
    EventLog log;
    log.attach(pic);
    pic->Start();
    ASSERT_TRUE(waitUntil([&] { return log.vectors() >= 1; }));
    EXPECT_TRUE(pic->aScriviPIC(QStringLiteral("F"), 1000).value());
    EXPECT_TRUE(pic->aInizializzaSweep(5, 6).value());
    ASSERT_TRUE(waitUntil([&] { return log.vectors() >= 3; }));
    pic->setASweepON(2);
    ASSERT_TRUE(waitUntil([&] { return log.complete(); }));
    // The log lines of the calls came between vectors of the running loop.
    const qsizetype at = log.events.indexOf(QStringLiteral("E0:P> F 1000"));
    ASSERT_GT(at, 0) << qPrintable(log.dump());
    EXPECT_LT(at, log.events.indexOf(QStringLiteral("E0:P> fine ciclo sweep")));
    EXPECT_TRUE(log.consecutive());
}

TEST_F(IpcTest, FailureEscapingLoopEndsItAndClearsBusyFlag) {
    EventLog log;
    log.attach(pic);
    EXPECT_TRUE(pic->aScriviPIC(QStringLiteral("FAIL"), 0).value());
    pic->Start();
    ASSERT_TRUE(waitUntil([&] { return log.complete(); }));
    const QStringList expected{QStringLiteral("E0:P> avvio ciclo di sweep"),
                               QStringLiteral("E3:P> errore di prova nel ciclo"),
                               QStringLiteral("E0:P> fine ciclo sweep"), QStringLiteral("C")};
    EXPECT_EQ(log.events, expected);
    EXPECT_EQ(pic->aSweepON(), 0);
    // Not busy: the next start is accepted.
    log.events.clear();
    pic->Start();
    ASSERT_TRUE(waitUntil([&] { return log.vectors() >= 1; }));
    EXPECT_FALSE(log.events.contains(QStringLiteral("E3:P> Sweep già in esecuzione")));
    pic->setASweepON(2);
    ASSERT_TRUE(waitUntil([&] { return log.complete(); }));
}

TEST_F(IpcTest, ServedIntrospectionMatchesInterfaceXml) {
    const struct {
        const char* path;
        const char* interface;
        const char* xml;
    } objects[] = {
        {"/cAsyncPIC", "org.orvane.Tarvex.cAsyncPIC", TARVEX_XML_PIC_FILE},
        {"/cAsyncLPT", "org.orvane.Tarvex.cAsyncLPT", TARVEX_XML_LPT_FILE},
        {"/cAsyncMiniVNA", "org.orvane.Tarvex.cAsyncMiniVNA", TARVEX_XML_VNA_FILE},
    };
    QFile flowFile(QStringLiteral(TARVEX_XML_FLOW_FILE));
    ASSERT_TRUE(flowFile.open(QIODevice::ReadOnly));
    const QStringList flow = interfaceMembers(QString::fromUtf8(flowFile.readAll()),
                                              QStringLiteral("org.orvane.Tarvex.Flow"));
    ASSERT_EQ(flow.size(), 2);
    for (const auto& o : objects) {
        QFile file(QString::fromLatin1(o.xml));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << o.xml;
        const QStringList expected =
            interfaceMembers(QString::fromUtf8(file.readAll()), QString::fromLatin1(o.interface));
        ASSERT_GT(expected.size(), 8) << o.xml;
        QDBusInterface intro(QString(), QString::fromLatin1(o.path),
                             QStringLiteral("org.freedesktop.DBus.Introspectable"),
                             launcher.connection());
        const QDBusReply<QString> served = intro.call(QStringLiteral("Introspect"));
        ASSERT_TRUE(served.isValid()) << o.path;
        EXPECT_EQ(interfaceMembers(served.value(), QString::fromLatin1(o.interface)), expected)
            << o.path;
        EXPECT_EQ(interfaceMembers(served.value(), QStringLiteral("org.orvane.Tarvex.Flow")), flow)
            << o.path;
    }
}

TEST_F(IpcTest, CreditWindowBoundsUnacknowledgedVectors) {
    EventLog log;
    log.attach(pic);
    FlowProxy flow(QString(), QStringLiteral("/cAsyncPIC"), launcher.connection());
    flow.SetVectorWindow(2).waitForFinished();
    pic->Start();
    ASSERT_TRUE(waitUntil([&] { return log.vectors() >= 2; }));
    spin(200);
    EXPECT_EQ(log.vectors(), 2) << "the server went past its window";
    // A stop request is served while the window is full.
    pic->setASweepON(2);
    ASSERT_TRUE(waitUntil([&] { return log.complete(); }));
    EXPECT_LE(log.vectors(), 3);

    // Acknowledged vectors keep flowing, none lost.
    const int lastPass = log.passes.last();
    EventLog acked;
    acked.attach(pic);
    QObject::connect(pic, &CAsyncPICProxy::aVettore, &flow, [&flow] { flow.AckVettore(); });
    flow.SetVectorWindow(3).waitForFinished();
    pic->Start();
    ASSERT_TRUE(waitUntil([&] { return acked.vectors() >= 50; }));
    pic->setASweepON(2);
    ASSERT_TRUE(waitUntil([&] { return acked.complete(); }));
    EXPECT_TRUE(acked.consecutive());
    EXPECT_EQ(acked.passes.first(), lastPass + 1);
}

TEST_F(IpcTest, ReleasingClientDuringSweepLetsServerEndCleanly) {
    EventLog log;
    log.attach(pic);
    pic->Start();
    ASSERT_TRUE(waitUntil([&] { return log.vectors() >= 2; }));
    launcher.setGracePeriod(5000);
    EXPECT_TRUE(launcher.stop()) << "tarvex had to be killed";
}

TEST_F(IpcTest, ClosedConnectionDuringSweepEndsServer) {
    EventLog log;
    log.attach(pic);
    QString died;
    QObject::connect(&launcher, &TarvexLauncher::serverDied, &owner,
                     [&](const QString& reason) { died = reason; });
    pic->Start();
    ASSERT_TRUE(waitUntil([&] { return log.vectors() >= 2; }));
    // The last reference to the connection goes: the socket closes, as when sweep ends.
    delete pic;
    delete lpt;
    delete vna;
    pic = nullptr;
    lpt = nullptr;
    vna = nullptr;
    QDBusConnection::disconnectFromPeer(launcher.connection().name());
    ASSERT_TRUE(waitUntil([&] { return !died.isEmpty(); }));
    EXPECT_TRUE(died.contains(QLatin1String("exit status 0"))) << qPrintable(died);
}

TEST_F(IpcTest, ExitCommEndsServerAfterItsClosingLine) {
    EventLog log;
    log.attach(pic);
    QString died;
    QObject::connect(&launcher, &TarvexLauncher::serverDied, &owner,
                     [&](const QString& reason) { died = reason; });
    pic->Start();
    ASSERT_TRUE(waitUntil([&] { return log.vectors() >= 1; }));
    auto reply = pic->aExitCOMM();
    reply.waitForFinished();
    EXPECT_FALSE(reply.isError()) << qPrintable(reply.error().message());
    ASSERT_TRUE(waitUntil([&] { return !died.isEmpty(); }));
    EXPECT_TRUE(log.events.contains(QStringLiteral("E0:P> COMMport chiusa")));
    EXPECT_FALSE(launcher.isRunning());
    // A call to the dead server fails at once instead of waiting for its time-out.
    auto after = pic->aInizializzaSweep(1, 2);
    after.waitForFinished();
    EXPECT_TRUE(after.isError());
}

TEST_F(IpcTest, KilledServerIsReportedAndCallsFail) {
    EventLog log;
    log.attach(pic);
    QString died;
    QObject::connect(&launcher, &TarvexLauncher::serverDied, &owner,
                     [&](const QString& reason) { died = reason; });
    pic->Start();
    ASSERT_TRUE(waitUntil([&] { return log.vectors() >= 1; }));
    ::kill(static_cast<pid_t>(launcher.serverPid()), SIGKILL);
    ASSERT_TRUE(waitUntil([&] { return !died.isEmpty(); }));
    EXPECT_TRUE(died.contains(QLatin1String("tarvex-testserver"))) << qPrintable(died);
    EXPECT_EQ(launcher.lastError(), died);
    auto after = pic->aScriviPIC(QStringLiteral("X"), 1);
    after.waitForFinished();
    EXPECT_TRUE(after.isError());
}

TEST(TarvexLauncherErrors, StartFailuresAreExplained) {
    testApp();
    TarvexLauncher launcher;
    QString error;

    launcher.setProgramDir(QStringLiteral("/nonexistent-folder"));
    EXPECT_FALSE(launcher.start({}, &error));
    EXPECT_TRUE(error.contains(QLatin1String("/nonexistent-folder/tarvex"))) << qPrintable(error);
    EXPECT_TRUE(error.contains(QLatin1String("missing"))) << qPrintable(error);

    launcher.setProgram(QStringLiteral(TARVEX_XML_PIC_FILE)); // exists, not executable
    EXPECT_FALSE(launcher.start({}, &error));
    EXPECT_TRUE(error.contains(QLatin1String("not an executable"))) << qPrintable(error);

    launcher.setProgram(binDir() + QStringLiteral("/tarvex-testserver"));
    EXPECT_FALSE(launcher.start({QStringLiteral("--sim-dut"), QStringLiteral("nonesuch")}, &error));
    EXPECT_TRUE(error.contains(QLatin1String("exit status 2"))) << qPrintable(error);
    EXPECT_TRUE(error.contains(QLatin1String("nonesuch"))) << qPrintable(error);
    EXPECT_FALSE(launcher.isRunning());
    EXPECT_FALSE(launcher.connection().isConnected());

    // A good start after failures works, and the launcher can be restarted.
    ASSERT_TRUE(launcher.start({QStringLiteral("--sim-pace"), QStringLiteral("max")}, &error))
        << qPrintable(error);
    EXPECT_TRUE(launcher.connection().isConnected());
    ASSERT_TRUE(launcher.start({}, &error)) << qPrintable(error);
    EXPECT_TRUE(launcher.connection().isConnected());
    EXPECT_TRUE(launcher.stop());
    EXPECT_FALSE(launcher.connection().isConnected());
}

} // namespace
