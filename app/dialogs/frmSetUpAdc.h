#pragma once
// The setup dialog's A/D Converter page: the converter, its step and the channel; the offset is
// shown, not edited.
#include "frmSetUpPage.h"

#include <functional>

class NumberBox;
class QGridLayout;
class QLabel;
class QRadioButton;

class SetUpAdcPage : public SetUpPage {
    Q_OBJECT
public:
    SetUpAdcPage(std::function<void()> beep, QWidget* parent);

    void load(const SetUpValues& values) override;
    void store(SetUpValues& values) const override;

private:
    void addDeviceOptions(QGridLayout* grid);
    void addStepAndChannel(QGridLayout* grid, const std::function<void()>& beep);

    // The values of the page.
    QString m_device;
    float m_step = 0;
    qint16 m_channel = 0;
    float m_offset = 0;

    std::array<QRadioButton*, 3> optADC{}; // 1..2
    NumberBox* txtADCstep = nullptr;
    NumberBox* txtADCchannel = nullptr;
    QLabel* lblOffset = nullptr;
};
