#pragma once
// The dialogs of the SetUp and Help menus, as seen from the main window. Each call is modal and
// gets the window's context (live configuration, device, sweep data, messages). showSetup
// returns true when the user pressed "Apply": the configuration is written and the program
// must end so that it takes effect at the next start.
#include "SweepContext.h"

class QWidget;

class SweepDialogs {
public:
    virtual ~SweepDialogs() = default;
    virtual bool showSetup(QWidget* parent, SweepContext& context);
    virtual void showCalibraDDS(QWidget* parent, SweepContext& context);
    virtual void showCalibraADC(QWidget* parent, SweepContext& context);
    virtual void showPreferences(QWidget* parent, SweepContext& context);
    virtual void showAbout(QWidget* parent, SweepContext& context);
};
