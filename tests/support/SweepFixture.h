#pragma once
// Shared by the main-window tests: a dialog seam that counts set-up requests, and a window on
// a configuration in a private folder with the recording message seam.
#include "ScratchFiles.h"
#include "SweepDialogs.h"
#include "TestMessages.h"
#include "frmSweep.h"

#include <QCoreApplication>
#include <QLineEdit>
#include <QStringList>
#include <QTest>
#include <QTextStream>
#include <functional>
#include <memory>

// Types into a field as a user does: focus in, the text, focus out (which validates it).
void typeInto(QLineEdit* field, const QString& text);

class CountingDialogs : public SweepDialogs {
public:
    bool showSetup(QWidget*, SweepContext&) override {
        ++setupShown;
        return applyOnSetup;
    }
    int setupShown = 0;
    bool applyOnSetup = false;
};

class SweepFixture {
public:
    // The parallel-port board simulated inside tarvex, unpaced, with the given device under test.
    static QString lptIni(const QString& sweepSection, const QString& extraConfig = QString());
    // No device object at all: the window works without hardware (interface 0).
    static QString noDeviceIni(const QString& sweepSection);

    frmSweep* makeWindow(const QStringList& serverArgs = {QStringLiteral("--sim-pace"),
                                                          QStringLiteral("max")});
    // The window on the given configuration, loaded, shown and active, so focus moves for real.
    frmSweep* openShown(const QString& iniText);
    // Where the window keeps its configuration and its lock.
    StartOptions options() const;

    ScratchIni ini;
    TestMessages messages;
    CountingDialogs dialogs;
    QString serverProgram;
    int stopWaitMs = 10000;
    std::unique_ptr<frmSweep> window;
};
