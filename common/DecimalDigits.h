#pragma once
// Internal to sweep_common: a finite double as decimal digits, rounded to a number of
// significant digits, and rounding of those digits at a decimal place. Formatting and
// roundHalfEven work on this form so that halves are decided on what the user sees.

#include <QByteArray>

struct DecimalDigits {
    enum class Tie { AwayFromZero, ToEven };

    bool negative = false;
    QByteArray digits = "0"; // no leading zeros (except the single "0"), no trailing zeros
    int pointPos = 1;        // digits before the decimal point: value = 0.digits * 10^pointPos

    static DecimalDigits fromDouble(double value, int significant);
    bool isZero() const { return digits == "0"; }
    // Keeps `decimals` places after the point (may be negative for tens, hundreds...).
    void roundAt(int decimals, Tie tie);
    // Digit `index` counted from the most significant one; '0' outside the stored digits.
    char digitAt(int index) const;
    // Plain ASCII text "-123.45" with C conventions, for converting back.
    QByteArray toAscii() const;

private:
    void normalise();
};
