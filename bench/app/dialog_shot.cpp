// dialog_shot --config PATH WHAT: shows one dialog of Sweep on the configuration PATH and prints
// its frame's geometry (WxH+X+Y) once it is on screen, for a screenshot of the screen. WHAT:
// setup0 .. setup5 (the pages of "Sweep Configuration"), calibradds, calibraadc, preferences,
// about, help. The Ports page shows a demonstration computer (two USB serial adapters, one
// parallel port). Ends after 5 s.
#include "HelpWindows.h"
#include "PortScan.h"
#include "SweepConfig.h"
#include "SweepData.h"
#include "UserMessages.h"
#include "frmAbout.h"
#include "frmCalibraADC.h"
#include "frmCalibraDDS.h"
#include "frmPreferences.h"
#include "frmSetUp.h"

#include <QApplication>
#include <QTextBrowser>
#include <QTimer>
#include <cstdio>
#include <memory>

namespace {

class DemoPorts : public PortScan {
public:
    QList<SerialPortEntry> serialPorts() const override {
        return {{QStringLiteral("/dev/ttyUSB0"), QStringLiteral("FT232R USB UART (FTDI)")},
                {QStringLiteral("/dev/ttyACM0"), QStringLiteral("USB CDC serial")}};
    }
    bool serialPortExists(const QString& path) const override {
        return path.startsWith(QLatin1String("sim:")) ||
               path.startsWith(QLatin1String("/dev/ttyUSB")) ||
               path == QLatin1String("/dev/ttyS0") || path == QLatin1String("/dev/ttyACM0");
    }
    QList<ParallelPortEntry> parallelPorts() const override {
        return {{QStringLiteral("parport0"), 888}};
    }
};

} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    const int at = args.indexOf(QStringLiteral("--config"));
    if (at < 0 || args.size() < at + 3) {
        std::fprintf(stderr, "usage: dialog_shot --config PATH WHAT\n");
        return 2;
    }
    SweepConfig cfg(args[at + 1]);
    cfg.readAll();
    SweepData data;
    data.rebuild(cfg.freqStart, (cfg.freqStop - cfg.freqStart) / 400, cfg.scala == 0);
    UserMessages messages;
    SweepContext context{cfg, nullptr, data, messages, true};
    DemoPorts ports;
    const QString what = args[at + 2];

    std::unique_ptr<QWidget> shown;
    if (what.startsWith(QLatin1String("setup"))) {
        auto* setup = new frmSetUp(context, &ports);
        setup->showPage(what.mid(5).toInt());
        shown.reset(setup);
    } else if (what == QLatin1String("calibradds")) {
        shown = std::make_unique<frmCalibraDDS>(context);
    } else if (what == QLatin1String("calibraadc")) {
        shown = std::make_unique<frmCalibraADC>(context);
    } else if (what == QLatin1String("preferences")) {
        shown = std::make_unique<frmPreferences>(context);
    } else if (what == QLatin1String("about")) {
        shown = std::make_unique<frmAbout>(context);
    }
    QWidget* window = shown.get();
    if (what == QLatin1String("help")) {
        window = HelpWindows::showMain();
        window->resize(760, 640);
    } else if (!window) {
        std::fprintf(stderr, "unknown dialog %s\n", qPrintable(what));
        return 2;
    }
    window->move(40, 40);
    window->show();
    QTimer::singleShot(1500, window, [window] {
        const QRect r = window->frameGeometry();
        std::printf("%dx%d+%d+%d\n", r.width(), r.height(), r.x(), r.y());
        std::fflush(stdout);
    });
    QTimer::singleShot(5000, &app, &QApplication::quit);
    const int rc = app.exec();
    HelpWindows::closeAll();
    return rc;
}
