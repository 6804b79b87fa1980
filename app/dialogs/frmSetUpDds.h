#pragma once
// The setup dialog's DDS Generator page: the chip, its reference clock and multiplier, and the
// frequency limits of the entry fields; the frequency offset is shown, not edited.
#include "frmSetUpPage.h"

#include <functional>

class NumberBox;
class QCheckBox;
class QGridLayout;
class QLabel;
class QRadioButton;
class QScrollBar;

class SetUpDdsPage : public SetUpPage {
    Q_OBJECT
public:
    SetUpDdsPage(std::function<void()> beep, QWidget* parent);

    void load(const SetUpValues& values) override;
    void store(SetUpValues& values) const override;

private:
    void buildChipChoice(QGridLayout* grid);
    QGroupBox* buildAd9851Frame();
    QGroupBox* buildAd9951Frame();
    void buildFrequencyLimits(QGridLayout* grid);
    NumberBox* hertzBox(const QString& name, qint32* value, qint32 min, const QString& picture,
                        QWidget* parent);

    void optDDSselect_Click(int n);
    void optDDSx6_Click(bool checked);
    void optMultiplier_Click(int n);
    void HScroll1_Change(int value);
    void showSystemClock();

    std::function<void()> m_beep;

    // The values of the page.
    QString m_device;
    qint16 m_multiplier = 0;
    qint32 m_clock = 0;
    qint32 m_maxFreq = 0;
    qint32 m_minFreq = 0;
    double m_offset = 0;

    std::array<QRadioButton*, 3> optDDSselect{}; // 1..2
    QGroupBox* frmAD9851 = nullptr;
    QGroupBox* frmAD9951 = nullptr;
    NumberBox* txtClk9851 = nullptr;
    NumberBox* txtClk9951 = nullptr;
    QCheckBox* optDDSx6 = nullptr;
    std::array<QRadioButton*, 2> optMultiplier{};
    QScrollBar* HScroll1 = nullptr;
    QLabel* lblSystemClock = nullptr;
    QLabel* lblMultFactor = nullptr;
    NumberBox* txtMaxFreq = nullptr;
    NumberBox* txtMinFreq = nullptr;
    QLabel* lblOffsetDDS = nullptr;
};
