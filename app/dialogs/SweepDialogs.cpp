#include "SweepDialogs.h"

#include <QMessageBox>
#include <QWidget>

// The set-up, calibration and preferences dialogs are not in this build yet: the calls return
// as a dialog closed without changes would.
bool SweepDialogs::showSetup(QWidget*, SweepContext&) {
    return false;
}

void SweepDialogs::showCalibraDDS(QWidget*, SweepContext&) {}

void SweepDialogs::showCalibraADC(QWidget*, SweepContext&) {}

void SweepDialogs::showPreferences(QWidget*, SweepContext&) {}

void SweepDialogs::showAbout(QWidget* parent, SweepContext&) {
    QMessageBox::about(
        parent, QStringLiteral("About Sweep Generator"),
        QStringLiteral(
            "Sweep Generator v2.0\nOrvane\n\nRF sweep generator and scalar network analyser."));
}
