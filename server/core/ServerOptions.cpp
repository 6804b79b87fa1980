#include "ServerOptions.h"

#include "LptDrivers.h"
#include "SimulatedDuts.h"

namespace {

bool takeValue(const QStringList& args, qsizetype* i, const QString& option, QString* value,
               QString* error) {
    // Both "--opt VALUE" and "--opt=VALUE".
    const QString& arg = args.at(*i);
    if (arg.startsWith(option + QLatin1Char('='))) {
        *value = arg.mid(option.size() + 1);
        return true;
    }
    if (*i + 1 >= args.size()) {
        *error = QStringLiteral("option %1 needs a value").arg(option);
        return false;
    }
    *value = args.at(++*i);
    return true;
}

bool oneOf(const QString& option, const QString& value, const QStringList& allowed,
           QString* error) {
    if (allowed.contains(value))
        return true;
    *error = QStringLiteral("bad value \"%1\" for %2 (use one of: %3)")
                 .arg(value, option, allowed.join(QStringLiteral(", ")));
    return false;
}

bool optionName(const QString& arg, const QString& option) {
    return arg == option || arg.startsWith(option + QLatin1Char('='));
}

} // namespace

QString tarvexUsage() {
    QString duts;
    for (const SimulatedDut& dut : kSimulatedDuts)
        duts += QStringLiteral("                      %1: %2\n")
                    .arg(QLatin1String(dut.name), QLatin1String(dut.description));
    const QString usage = QStringLiteral(
        "Usage: tarvex (--listen ADDRESS | --session) [--lpt-driver %3]\n"
        "              [--sim-dut NAME] [--sim-pace real|max] [--sim-log PATH]\n"
        "              [--com N=PATH]...\n"
        "  --listen ADDRESS  serve one client peer-to-peer at a D-Bus address\n"
        "                    (unix:path=...); prints READY once listening. The first\n"
        "                    line of standard input is the client's secret: the client\n"
        "                    is the peer that presents it with org.orvane.Tarvex.Peer.Hello\n"
        "  --session         serve on the session bus as org.orvane.Tarvex\n"
        "  --lpt-driver D    parallel-port access (auto: ppdev, then raw)\n"
        "  --sim-dut NAME    simulated device under test (default %1):\n"
        "%2"
        "  --sim-pace P      real: simulators keep the hardware's pace; max: unpaced\n"
        "  --sim-log PATH    the simulated hardware appends what it decoded to PATH,\n"
        "                    one line each (\"pic: A 1000000\", \"dds: load ...\")\n"
        "  --com N=PATH      COMn is PATH (a device, a pty, sim:pic or sim:vna)\n");
    return usage.arg(defaultSimulatedDut(), duts, lptDriverNames().join(QLatin1Char('|')));
}

bool parseTarvexArguments(const QStringList& args, TarvexCommandLine* out, QString* error) {
    TarvexCommandLine cl;
    bool listen = false;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& arg = args.at(i);
        QString value;
        if (arg == QLatin1String("--help") || arg == QLatin1String("-h")) {
            cl.help = true;
        } else if (arg == QLatin1String("--session")) {
            cl.session = true;
        } else if (optionName(arg, QStringLiteral("--listen"))) {
            if (!takeValue(args, &i, QStringLiteral("--listen"), &value, error))
                return false;
            if (value.isEmpty() || !value.contains(QLatin1Char(':'))) {
                *error = QStringLiteral("bad address \"%1\" for --listen (use unix:path=FILE)")
                             .arg(value);
                return false;
            }
            cl.listenAddress = value;
            listen = true;
        } else if (optionName(arg, QStringLiteral("--lpt-driver"))) {
            if (!takeValue(args, &i, QStringLiteral("--lpt-driver"), &value, error) ||
                !oneOf(QStringLiteral("--lpt-driver"), value, lptDriverNames(), error))
                return false;
            cl.options.lptDriver = value;
        } else if (optionName(arg, QStringLiteral("--sim-dut"))) {
            if (!takeValue(args, &i, QStringLiteral("--sim-dut"), &value, error) ||
                !oneOf(QStringLiteral("--sim-dut"), value, simulatedDutNames(), error))
                return false;
            cl.options.simDut = value;
        } else if (optionName(arg, QStringLiteral("--sim-pace"))) {
            if (!takeValue(args, &i, QStringLiteral("--sim-pace"), &value, error) ||
                !oneOf(QStringLiteral("--sim-pace"), value,
                       {QStringLiteral("real"), QStringLiteral("max")}, error))
                return false;
            cl.options.simPaceReal = value == QLatin1String("real");
        } else if (optionName(arg, QStringLiteral("--sim-log"))) {
            if (!takeValue(args, &i, QStringLiteral("--sim-log"), &value, error))
                return false;
            if (value.isEmpty()) {
                *error = QStringLiteral("--sim-log needs a file path");
                return false;
            }
            cl.options.simLogPath = value;
        } else if (optionName(arg, QStringLiteral("--com"))) {
            if (!takeValue(args, &i, QStringLiteral("--com"), &value, error))
                return false;
            const qsizetype eq = value.indexOf(QLatin1Char('='));
            bool ok = false;
            const int port = eq > 0 ? value.left(eq).toInt(&ok) : 0;
            const QString path = eq > 0 ? value.mid(eq + 1) : QString();
            // COM numbers are small positive integers (the client passes an Integer).
            if (!ok || port < 1 || port > 255 || path.isEmpty()) {
                *error = QStringLiteral("bad value \"%1\" for --com (use N=PATH with N from 1 "
                                        "to 255, e.g. 1=/dev/ttyUSB0 or 2=sim:pic)")
                             .arg(value);
                return false;
            }
            cl.options.comMap.insert(port, path);
        } else {
            *error = QStringLiteral("unknown option \"%1\"").arg(arg);
            return false;
        }
    }
    if (cl.help) {
        *out = cl;
        return true;
    }
    if (listen == cl.session) {
        *error = listen ? QStringLiteral("--listen and --session exclude each other")
                        : QStringLiteral("either --listen ADDRESS or --session is needed");
        return false;
    }
    *out = cl;
    return true;
}
