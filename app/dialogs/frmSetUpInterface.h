#pragma once
// The setup dialog's Interface page: the kind of hardware and the buttons that load its factory
// default set. What a choice does to the other pages is the dialog's business.
#include "frmSetUpPage.h"

class QPushButton;
class QRadioButton;

class SetUpInterfacePage : public SetUpPage {
    Q_OBJECT
public:
    explicit SetUpInterfacePage(QWidget* parent);

    void load(const SetUpValues& values) override;
    void store(SetUpValues& values) const override;

signals:
    // The user chose another interface (after `edited`).
    void interfaceChanged(int n);
    // "Default" of interface n was pressed.
    void defaultRequested(int n);

private:
    void optInterface_Click(int n);

    int m_interface = 0;
    std::array<QRadioButton*, 4> optInterface{}; // 1..3
    std::array<QPushButton*, 4> cmdDefault{};    // 1..3
};
