#include "SweepDialogs.h"

#include "frmAbout.h"
#include "frmCalibraADC.h"
#include "frmCalibraDDS.h"
#include "frmPreferences.h"
#include "frmSetUp.h"

bool SweepDialogs::showSetup(QWidget* parent, SweepContext& context) {
    frmSetUp dialog(context, nullptr, parent);
    dialog.exec();
    return dialog.applied();
}

void SweepDialogs::showCalibraDDS(QWidget* parent, SweepContext& context) {
    frmCalibraDDS dialog(context, parent);
    dialog.exec();
}

void SweepDialogs::showCalibraADC(QWidget* parent, SweepContext& context) {
    frmCalibraADC dialog(context, parent);
    dialog.exec();
}

void SweepDialogs::showPreferences(QWidget* parent, SweepContext& context) {
    frmPreferences dialog(context, parent);
    dialog.exec();
}

void SweepDialogs::showAbout(QWidget* parent, SweepContext& context) {
    frmAbout dialog(context, parent);
    dialog.exec();
}
