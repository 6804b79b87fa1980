#pragma once
// One page of the setup dialog. A page keeps its own copy of the values it edits: `load` takes
// them and shows them without acting on them (showing a page changes nothing), `store` hands
// them back, and `edited` says that the user changed one of them.
#include "AuxConfig.h"
#include "SweepConfig.h"

#include <QGroupBox>
#include <array>

// What the setup dialog works on: a copy of the configuration and the two AUX panels.
struct SetUpValues {
    SweepConfig config;
    std::array<AuxConfig, 2> aux;
};

class SetUpPage : public QGroupBox {
    Q_OBJECT
public:
    using QGroupBox::QGroupBox;

    virtual void load(const SetUpValues& values) = 0;
    virtual void store(SetUpValues& values) const = 0;

signals:
    void edited();
};
