#pragma once
// What the program's command line and the test harness decide before the window loads.
#include <QString>
#include <QStringList>

struct StartOptions {
    QString iniPath;             // the configuration file; empty: the default location
    QString lockPath;            // the single-instance lock; empty: the user's runtime directory
    QStringList extraServerArgs; // appended to tarvex's arguments (e.g. --sim-pace max)
    QString serverProgram;       // tarvex to start; empty: the one beside this program
    // Longest wait (ms) for the end of a previous sweep before "Sweep ON" gives up: beyond the
    // device's own time-outs (a PIC command retries for up to 6 s).
    int stopWaitMs = 10000;
};
