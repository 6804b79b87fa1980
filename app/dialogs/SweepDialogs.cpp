#include "SweepDialogs.h"

#include <QMessageBox>
#include <QWidget>

// The set-up, calibration and preferences dialogs are not in this build yet: the calls return
// as a dialog closed without changes would.
bool SweepDialogs::showSetup(QWidget*, const QString&) {
    return false;
}

void SweepDialogs::showCalibraDDS(QWidget*, const QString&) {}

void SweepDialogs::showCalibraADC(QWidget*, const QString&) {}

void SweepDialogs::showPreferences(QWidget*, const QString&) {}

void SweepDialogs::showAbout(QWidget* parent) {
    QMessageBox::about(
        parent, QStringLiteral("About Sweep Generator"),
        QStringLiteral(
            "Sweep Generator v2.0\nOrvane\n\nRF sweep generator and scalar network analyser."));
}
