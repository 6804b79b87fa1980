#pragma once
// Settings of one auxiliary output panel ([Aux1] or [Aux2] in Sweep.ini): enable and
// inversion switches, caption, the eight buttons (label and the value each stands for)
// and, for Aux 2, the potentiometer limits and I2C bytes.

#include "ConfigKeys.h"

#include <QString>
#include <QtGlobal>
#include <array>

struct AuxConfig {
    static constexpr int kSteps = ConfigKeys::AuxPanelKeys::kSteps;

    bool enabled = false;      // "Enabled" > 0
    bool inverseLogic = false; // "Inverse Logic" > 0: the word is complemented before sending
    QString title;             // "Title", caption of the panel
    // "Step n" split at the first ';': label (button caption; empty hides the button),
    // value text as stored, and that value as an integer (halves to even; 0 when empty or
    // not a number).
    std::array<QString, kSteps> stepLabel;
    std::array<QString, kSteps> stepValueText;
    std::array<qint16, kSteps> stepValue{};
    // [Aux2] only.
    qint16 potMax = ConfigKeys::kPotMax.defaultAs<qint16>();
    qint16 potMin = ConfigKeys::kPotMin.defaultAs<qint16>();
    quint8 i2cControl = ConfigKeys::kI2cControl.defaultAs<quint8>();
    quint8 i2cCommand = ConfigKeys::kI2cCommand.defaultAs<quint8>();

    // The byte the output's shift register gets for a word: complemented with inverse logic.
    quint8 sentWord(int word) const { return static_cast<quint8>(inverseLogic ? ~word : word); }

    // Default "Step n" text: "dB 10;10" for n = 0 ... "dB 80;80" for n = 7.
    static QString defaultStep(int n);
    // Fills label, value text and value of button n from a stored "Step n" text.
    void setStep(int n, const QString& stored);
    // The stored form the setup dialog writes: label trimmed, ';', value text.
    QString storedStep(int n) const;
};
