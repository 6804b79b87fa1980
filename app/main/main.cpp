// sweep [--config PATH] [--sweeps N]: the main window of the sweep generator.
#include "ScriptedSweeps.h"
#include "SignalCloser.h"
#include "UnattendedUser.h"
#include "frmSweep.h"

#include <QApplication>
#include <QCommandLineParser>
#include <cstdio>
#include <memory>

namespace {
// An unattended run gives up after this long: beyond the slowest board's sweeps (a PIC board
// at 9600 baud) with room for the start of tarvex.
constexpr int kScriptedTimeLimitMs = 120000;
} // namespace

int main(int argc, char* argv[]) {
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Sweep generator and scalar network analyser"));
    parser.addHelpOption();
    const QCommandLineOption configOption(
        QStringLiteral("config"),
        QStringLiteral("Use the configuration file <path> instead of Sweep.ini."),
        QStringLiteral("path"));
    parser.addOption(configOption);
    const QCommandLineOption sweepsOption(
        QStringLiteral("sweeps"),
        QStringLiteral("Unattended: press Sweep ON, print a line per sweep, close after <n> "
                       "sweeps. Messages go to stderr; a set-up dialog ends the run."),
        QStringLiteral("n"));
    parser.addOption(sweepsOption);
    {
        // The options are read before the window system is reached, so --help and a wrong
        // option are answered on a machine without a display too.
        QCoreApplication options(argc, argv);
        QCoreApplication::setApplicationName(QStringLiteral("sweep"));
        parser.process(options);
    }

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("sweep"));
    QApplication::setOrganizationName(QStringLiteral("orvane"));

    int sweeps = 0;
    if (parser.isSet(sweepsOption)) {
        bool ok = false;
        sweeps = parser.value(sweepsOption).toInt(&ok);
        if (!ok || sweeps < 1) {
            std::fprintf(stderr, "sweep: --sweeps needs a whole number of at least 1\n");
            return 2;
        }
    }

    StartOptions options;
    options.iniPath = parser.value(configOption);
    std::unique_ptr<UnattendedMessages> messages;
    std::unique_ptr<UnattendedDialogs> dialogs;
    if (sweeps > 0) {
        messages = std::make_unique<UnattendedMessages>();
        dialogs = std::make_unique<UnattendedDialogs>();
    }
    frmSweep window(options, messages.get(), dialogs.get());
    if (!window.load())
        return sweeps > 0 ? 2 : 0;
    SignalCloser closer(&window);
    // A close that waited for a handler to return hides the window first: end the program when
    // the shutdown is done, visible window or not.
    QObject::connect(&window, &frmSweep::closed, &app, &QApplication::quit);
    window.show();
    if (sweeps == 0)
        return app.exec();
    ScriptedSweeps script(&window, sweeps, kScriptedTimeLimitMs);
    script.begin();
    const int status = app.exec();
    return status != 0 ? status : script.exitCode();
}
