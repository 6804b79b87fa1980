#pragma once
// The dialogs of the SetUp and Help menus, as seen from the main window. Each call is modal.
// showSetup returns true when the user pressed "Apply": the configuration is written and the
// program must end so that it takes effect at the next start.
#include <QString>

class QWidget;

class SweepDialogs {
public:
    virtual ~SweepDialogs() = default;
    virtual bool showSetup(QWidget* parent, const QString& iniFile);
    virtual void showCalibraDDS(QWidget* parent, const QString& iniFile);
    virtual void showCalibraADC(QWidget* parent, const QString& iniFile);
    virtual void showPreferences(QWidget* parent, const QString& iniFile);
    virtual void showAbout(QWidget* parent);
};
