// The command line of tarvex: every option with good and bad values.
#include "ServerOptions.h"

#include <gtest/gtest.h>

namespace {

bool parse(const QStringList& args, TarvexCommandLine* cl, QString* error) {
    return parseTarvexArguments(args, cl, error);
}

TEST(TarvexOptions, FullCommandLineIsParsed) {
    TarvexCommandLine cl;
    QString error;
    ASSERT_TRUE(parse({"--listen", "unix:path=/tmp/x/tarvex", "--lpt-driver", "sim",
                       "--sim-dut=ramp", "--sim-pace", "max", "--com", "1=/dev/ttyUSB0", "--com",
                       "3=sim:vna", "--com", "1=sim:pic", "--sim-log", "/tmp/x/sim.log"},
                      &cl, &error))
        << qPrintable(error);
    EXPECT_EQ(cl.listenAddress, "unix:path=/tmp/x/tarvex");
    EXPECT_FALSE(cl.session);
    EXPECT_EQ(cl.options.lptDriver, "sim");
    EXPECT_EQ(cl.options.simDut, "ramp");
    EXPECT_FALSE(cl.options.simPaceReal);
    EXPECT_EQ(cl.options.simLogPath, "/tmp/x/sim.log");
    // A later mapping of the same port wins.
    EXPECT_EQ(cl.options.comMap.value(1), "sim:pic");
    EXPECT_EQ(cl.options.comMap.value(3), "sim:vna");
    EXPECT_EQ(cl.options.comMap.size(), 2);

    ASSERT_TRUE(parse({"--session"}, &cl, &error));
    EXPECT_TRUE(cl.session);
    EXPECT_EQ(cl.options.lptDriver, "auto");
    EXPECT_EQ(cl.options.simDut, "bandpass");
    EXPECT_TRUE(cl.options.simPaceReal);
    EXPECT_TRUE(cl.options.simLogPath.isEmpty()); // no trace unless asked for

    ASSERT_TRUE(parse({"--session", "--sim-log=sim.log"}, &cl, &error));
    EXPECT_EQ(cl.options.simLogPath, "sim.log");
    // --help lists every option.
    for (const char* option :
         {"--listen", "--session", "--lpt-driver", "--sim-dut", "--sim-pace", "--sim-log", "--com"})
        EXPECT_TRUE(tarvexUsage().contains(QLatin1String(option))) << option;

    // Every simulated device under test is accepted and described in --help.
    for (const char* dut : {"bandpass", "through", "lowpass", "notch", "ramp", "flat"}) {
        ASSERT_TRUE(parse({"--session", "--sim-dut", dut}, &cl, &error)) << qPrintable(error);
        EXPECT_EQ(cl.options.simDut, dut);
        EXPECT_TRUE(tarvexUsage().contains(QStringLiteral("  %1: ").arg(QLatin1String(dut))))
            << dut;
    }
}

TEST(TarvexOptions, BadCommandLinesNameTheProblem) {
    const struct {
        QStringList args;
        const char* mentions;
    } cases[] = {
        {{}, "--listen"},
        {{"--session", "--listen", "unix:path=/tmp/a"}, "exclude"},
        {{"--listen"}, "needs a value"},
        {{"--listen", "nowhere"}, "nowhere"},
        {{"--session", "--frobnicate"}, "--frobnicate"},
        {{"--session", "--lpt-driver", "winio"}, "winio"},
        {{"--session", "--sim-dut", "nonesuch"}, "nonesuch"},
        {{"--session", "--sim-pace", "fast"}, "fast"},
        {{"--session", "--com", "/dev/ttyUSB0"}, "--com"},
        {{"--session", "--com", "0=/dev/ttyS0"}, "0=/dev/ttyS0"},
        {{"--session", "--com", "x=/dev/ttyS0"}, "x=/dev/ttyS0"},
        {{"--session", "--com", "2="}, "2="},
        {{"--session", "--com"}, "needs a value"},
        {{"--session", "--sim-log"}, "needs a value"},
        {{"--session", "--sim-log="}, "--sim-log"},
    };
    for (const auto& c : cases) {
        TarvexCommandLine cl;
        QString error;
        EXPECT_FALSE(parse(c.args, &cl, &error)) << qPrintable(c.args.join(' '));
        EXPECT_TRUE(error.contains(QLatin1String(c.mentions)))
            << qPrintable(c.args.join(' ')) << " -> " << qPrintable(error);
    }
}

// The parallel-port drivers come from one list: tarvex's help, its check of --lpt-driver and
// the device's message about an unknown driver all name the same four, in this order.
TEST(TarvexOptions, ParallelPortDriversAreNamedAlike) {
    EXPECT_TRUE(tarvexUsage().startsWith(
        "Usage: tarvex (--listen ADDRESS | --session) [--lpt-driver auto|ppdev|raw|sim]\n"))
        << qPrintable(tarvexUsage());
    TarvexCommandLine cl;
    QString error;
    for (const char* driver : {"auto", "ppdev", "raw", "sim"}) {
        ASSERT_TRUE(parse({"--session", "--lpt-driver", driver}, &cl, &error)) << driver;
        EXPECT_EQ(cl.options.lptDriver, driver);
    }
    EXPECT_FALSE(parse({"--session", "--lpt-driver", "winio"}, &cl, &error));
    EXPECT_EQ(error, "bad value \"winio\" for --lpt-driver (use one of: auto, ppdev, raw, sim)");
    EXPECT_EQ(lptDriverChoices(" o "), "auto, ppdev, raw o sim");
}

} // namespace
