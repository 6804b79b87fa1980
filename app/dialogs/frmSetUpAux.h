#pragma once
// The setup dialog's Auxiliary Button page: the two auxiliary output panels (enabled, negative
// logic, title, eight buttons with their values) and the potentiometer limits of Aux2.
#include "frmSetUpPage.h"

class QCheckBox;
class QGridLayout;
class QLineEdit;

// One output's frame ("Aux1", "Aux2").
class SetUpAuxFrame : public QGroupBox {
    Q_OBJECT
public:
    SetUpAuxFrame(int n, QWidget* parent);

    void load(const AuxConfig& aux);
    const AuxConfig& values() const { return m_aux; }

signals:
    void edited();

private:
    void buildSwitchesAndTitle(QGridLayout* grid);
    void buildButtonRows(QGridLayout* grid);
    void buildPotLimits(QGridLayout* grid);
    void txtVscrollMax_LostFocus();
    void txtVScrollMin_LostFocus();

    const int m_n;
    AuxConfig m_aux;

    QCheckBox* m_enable = nullptr;
    QCheckBox* m_logic = nullptr;
    QLineEdit* m_title = nullptr;
    std::array<QCheckBox*, AuxConfig::kSteps> m_preview{};
    std::array<QLineEdit*, AuxConfig::kSteps> m_label{};
    std::array<QLineEdit*, AuxConfig::kSteps> m_value{};
    // Aux2 only.
    QLineEdit* txtVscrollMax = nullptr;
    QLineEdit* txtVScrollMin = nullptr;
};

class SetUpAuxPage : public SetUpPage {
    Q_OBJECT
public:
    explicit SetUpAuxPage(QWidget* parent);

    void load(const SetUpValues& values) override;
    void store(SetUpValues& values) const override;

private:
    std::array<SetUpAuxFrame*, 2> m_frames{};
};
