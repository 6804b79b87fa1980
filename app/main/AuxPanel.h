#pragma once
// One auxiliary-output view of the parallel-port board ("Aux 1" or "Aux 2"): eight
// three-state buttons chkAux1(0..7) / chkAux2(0..7) that switch the eight lines of the output,
// the total lblAux1 / lblAux2 of the steps switched on, and on Aux 2 the potentiometer
// VScrollPot2 with lblPot2. A button steps off -> grayed -> on -> off; only "on" sets a line.
#include "AuxConfig.h"

#include <QObject>
#include <array>

class QCheckBox;
class QGroupBox;
class QLabel;
class QScrollBar;
struct SweepContext;

class AuxPanel : public QObject {
    Q_OBJECT
public:
    // n: 1 or 2. The controls are made inside frame (the view frameView(n + 1)).
    AuxPanel(int n, SweepContext& context, QGroupBox* frame);

    // Start-up: the buttons' captions and states from the configuration and the saved word;
    // the total shows the saved word itself.
    void inizializza(const AuxConfig& aux);
    // After the board is bound: the potentiometer's limits, its saved position clamped into
    // them, shown and sent. Nothing when its two limits are equal.
    void restorePotentiometer();

    QCheckBox* button(int i) const { return m_buttons[i]; }

    // Only the parallel-port board has the outputs. Unavailable: the view can still be shown,
    // but its buttons and potentiometer are disabled and change neither the lines nor the
    // saved words, and a note says why.
    void setAvailable(bool available);

private:
    void pressed();
    void potentiometerMoved(int value);
    qint16& savedWord() const;

    int m_n;
    SweepContext& m_ctx;
    AuxConfig m_aux;
    std::array<QCheckBox*, AuxConfig::kSteps> m_buttons{};
    QLabel* m_total = nullptr;
    QScrollBar* VScrollPot2 = nullptr;
    QLabel* lblPot2 = nullptr;
    QLabel* m_note = nullptr;
    bool m_available = true;
    // Set while a press is sent to the board: a second press meanwhile is ignored.
    bool m_busy = false;
};
