#pragma once
// Stands in for the person at the screen when sweep runs from a script (--sweeps): every
// message goes to stderr instead of a box, a question is answered Cancel, and a dialog that
// would need an answer (the set-up dialog of the first run or of an unknown device name) is
// announced on stdout and ends the run, since nobody can fill it in.
#include "SweepDialogs.h"
#include "UserMessages.h"

class UnattendedMessages : public UserMessages {
public:
    void beep() override {}
    void message(const QString& text, QMessageBox::Icon icon) override;
    bool question(const QString& title, const QString& text, QMessageBox::Icon icon) override;
    void dismissAll() override {}
};

class UnattendedDialogs : public SweepDialogs {
public:
    bool showSetup(QWidget* parent, SweepContext& context) override;
};
