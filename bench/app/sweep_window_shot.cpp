// sweep_window_shot --config PATH OUT.png [sweeps] [holdMs] [--actions NAME,NAME,...]: starts
// the main window on PATH, presses "Sweep ON", waits for the given number of sweeps (and holdMs
// more, so a script can move the mouse over the graph) and their curve, and saves the window as
// a PNG. --actions: menu items or buttons (objectNames) triggered in turn after the first sweep,
// e.g. mnuStoreReference, or mnuNormalize,cmdView_4.
#include "SweepGraph.h"
#include "frmSweep.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QPushButton>
#include <QTimer>
#include <cstdio>
#include <utility>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    const int at = args.indexOf(QStringLiteral("--config"));
    if (at < 0 || args.size() < at + 3) {
        std::fprintf(stderr, "usage: sweep_window_shot --config PATH OUT.png [sweeps] [holdMs]\n");
        return 2;
    }
    StartOptions o;
    o.iniPath = args[at + 1];
    const QString out = args[at + 2];
    const int wanted = args.size() > at + 3 ? args[at + 3].toInt() : 3;
    const int holdMs = args.size() > at + 4 ? args[at + 4].toInt() : 0;
    const int actionsAt = args.indexOf(QStringLiteral("--actions"));
    const QStringList actions = actionsAt >= 0 && args.size() > actionsAt + 1
                                    ? args[actionsAt + 1].split(QLatin1Char(','))
                                    : QStringList();
    frmSweep w(o);
    if (!w.load())
        return 1;
    w.show();
    int sweeps = 0;
    QObject::connect(&w, &frmSweep::sweepReceived, &w, [&sweeps] { ++sweeps; });
    w.findChild<QPushButton*>(QStringLiteral("cmdStart"))->click();
    QElapsedTimer t;
    t.start();
    bool acted = actions.isEmpty();
    while (sweeps < wanted && t.elapsed() < 60000) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        if (sweeps == 0 || std::exchange(acted, true))
            continue;
        for (const QString& name : actions) {
            if (auto* action = w.findChild<QAction*>(name))
                action->trigger();
            else if (auto* button = w.findChild<QPushButton*>(name))
                button->click();
            else
                std::fprintf(stderr, "sweep_window_shot: no action or button %s\n",
                             qPrintable(name));
        }
    }
    QElapsedTimer hold;
    hold.start();
    while (hold.elapsed() < holdMs)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    const int drawn = w.graph()->drawLineCount();
    while (w.graph()->drawLineCount() == drawn && t.elapsed() < 60000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    const bool saved = w.grab().save(out);
    std::printf("%d sweeps, saved %s: %s\n", sweeps, qPrintable(out), saved ? "yes" : "no");
    w.close();
    return saved ? 0 : 1;
}
