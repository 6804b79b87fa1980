// sweep [--config PATH]: the main window of the sweep generator.
#include "SignalCloser.h"
#include "frmSweep.h"

#include <QApplication>
#include <QCommandLineParser>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("sweep"));
    QApplication::setOrganizationName(QStringLiteral("orvane"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Sweep generator and scalar network analyser"));
    parser.addHelpOption();
    const QCommandLineOption configOption(
        QStringLiteral("config"),
        QStringLiteral("Use the configuration file <path> instead of Sweep.ini."),
        QStringLiteral("path"));
    parser.addOption(configOption);
    parser.process(app);

    StartOptions options;
    options.iniPath = parser.value(configOption);
    frmSweep window(options);
    if (!window.load())
        return 0;
    SignalCloser closer(&window);
    // A close that waited for a handler to return hides the window first: end the program when
    // the shutdown is done, visible window or not.
    QObject::connect(&window, &frmSweep::closed, &app, &QApplication::quit);
    window.show();
    return app.exec();
}
