// sweep-sim pic|vna [--link PATH] [--dut NAME] [--baud N] [--fault KIND]...
// Serves the PIC board's or the MiniVNA's firmware model on a new pseudo-terminal, prints
// the terminal's path and serves until killed.
#include "FirmwareModel.h"
#include "PtyServer.h"
#include "SimulatedDuts.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QSocketNotifier>
#include <QTextStream>
#include <csignal>
#include <unistd.h>

namespace {
int g_signalPipe[2] = {-1, -1};

// Only async-signal-safe work here; the event loop quits on the pipe, so the link is removed.
void quitOnSignal(int) {
    const char c = 1;
    [[maybe_unused]] const auto n = ::write(g_signalPipe[1], &c, 1);
}
} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("sweep-sim"));
    QTextStream err(stderr);
    QTextStream out(stdout);

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Serves a simulated PIC board or MiniVNA on a pseudo-terminal."));
    parser.addHelpOption();
    parser.addPositionalArgument(QStringLiteral("model"), QStringLiteral("pic or vna"));
    parser.addOption({QStringLiteral("link"),
                      QStringLiteral("Also reach the terminal through a symbolic link at PATH."),
                      QStringLiteral("PATH")});
    QString dutHelp = QStringLiteral("Device under test (default %1):").arg(defaultSimulatedDut());
    for (const SimulatedDut& dut : kSimulatedDuts)
        dutHelp +=
            QStringLiteral("\n%1: %2").arg(QLatin1String(dut.name), QLatin1String(dut.description));
    parser.addOption(
        {QStringLiteral("dut"), dutHelp, QStringLiteral("NAME"), defaultSimulatedDut()});
    parser.addOption(
        {QStringLiteral("baud"),
         QStringLiteral("Line speed to pace the output at; 0 for unpaced (default 115200)."),
         QStringLiteral("N"), QStringLiteral("115200")});
    parser.addOption({QStringLiteral("fault"),
                      QStringLiteral("Inject a fault: %1. Repeatable.")
                          .arg(FirmwareModel::faultNames().join(QStringLiteral(", "))),
                      QStringLiteral("KIND")});
    parser.process(app);

    const QStringList args = parser.positionalArguments();
    if (args.size() != 1 || (args[0] != QLatin1String("pic") && args[0] != QLatin1String("vna"))) {
        err << "sweep-sim: say which firmware to serve: pic or vna\n";
        return 2;
    }
    const QString dut = parser.value(QStringLiteral("dut"));
    auto model = FirmwareModel::create(args[0], dut);
    if (!model) {
        err << "sweep-sim: unknown device under test \"" << dut << "\"; use "
            << simulatedDutChoices() << '\n';
        return 2;
    }
    for (const QString& name : parser.values(QStringLiteral("fault"))) {
        FirmwareFault f{};
        if (!FirmwareModel::faultFromName(name, &f)) {
            err << "sweep-sim: unknown fault \"" << name << "\"; use one of "
                << FirmwareModel::faultNames().join(QStringLiteral(", ")) << '\n';
            return 2;
        }
        model->setFault(f);
    }
    bool ok = false;
    const int baud = parser.value(QStringLiteral("baud")).toInt(&ok);
    if (!ok || baud < 0) {
        err << "sweep-sim: --baud needs a whole number of bits per second (0 for unpaced)\n";
        return 2;
    }

    PtyServer server(std::move(model));
    server.setBaud(baud);
    QString error;
    if (!server.open(&error)) {
        err << "sweep-sim: cannot create a pseudo-terminal: " << error << '\n';
        return 1;
    }
    if (parser.isSet(QStringLiteral("link")) &&
        !server.link(parser.value(QStringLiteral("link")), &error)) {
        err << "sweep-sim: cannot create the link " << parser.value(QStringLiteral("link")) << ": "
            << error << '\n';
        return 1;
    }
    out << server.path() << Qt::endl;
    if (::pipe(g_signalPipe) == 0) {
        auto* notifier = new QSocketNotifier(g_signalPipe[0], QSocketNotifier::Read, &app);
        QObject::connect(notifier, &QSocketNotifier::activated, &app, &QCoreApplication::quit);
        std::signal(SIGTERM, quitOnSignal);
        std::signal(SIGINT, quitOnSignal);
    }
    return app.exec();
}
