#include "DecimalDigits.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

DecimalDigits DecimalDigits::fromDouble(double value, int significant) {
    DecimalDigits d;
    if (!std::isfinite(value) || value == 0.0)
        return d;
    d.negative = value < 0;
    char buf[64];
    // "%.Ne" rounds correctly; the mantissa separator depends on the C locale, so only the
    // digits are taken.
    std::snprintf(buf, sizeof buf, "%.*e", significant - 1, std::fabs(value));
    QByteArray digits;
    const char* p = buf;
    for (; *p && *p != 'e'; ++p) {
        if (*p >= '0' && *p <= '9')
            digits.append(*p);
    }
    const int exponent = *p == 'e' ? std::atoi(p + 1) : 0;
    d.digits = digits;
    d.pointPos = exponent + 1;
    d.normalise();
    return d;
}

void DecimalDigits::normalise() {
    int lead = 0;
    while (lead < digits.size() - 1 && digits[lead] == '0')
        ++lead;
    if (lead > 0) {
        digits.remove(0, lead);
        pointPos -= lead;
    }
    while (digits.size() > 1 && digits.endsWith('0'))
        digits.chop(1);
    if (digits.isEmpty() || digits == "0") {
        digits = "0";
        pointPos = 1;
        negative = false;
    }
}

void DecimalDigits::roundAt(int decimals, Tie tie) {
    if (isZero())
        return;
    const int keep = pointPos + decimals; // digits kept
    if (keep >= digits.size())
        return;
    if (keep < 0) {
        digits = "0";
        normalise();
        return;
    }
    const char first = digits[keep];
    bool up = first > '5' || (first == '5' && keep + 1 < digits.size());
    if (first == '5' && keep + 1 >= digits.size()) {
        if (tie == Tie::AwayFromZero)
            up = true;
        else
            up = keep > 0 && ((digits[keep - 1] - '0') % 2 == 1);
    }
    QByteArray kept = digits.left(keep);
    if (up) {
        int i = kept.size() - 1;
        while (i >= 0 && kept[i] == '9') {
            kept[i] = '0';
            --i;
        }
        if (i >= 0) {
            kept[i] = char(kept[i] + 1);
        } else {
            kept.prepend('1');
            ++pointPos;
        }
    }
    digits = kept.isEmpty() ? QByteArray("0") : kept;
    if (kept.isEmpty())
        pointPos = 1;
    normalise();
}

char DecimalDigits::digitAt(int index) const {
    return index >= 0 && index < digits.size() ? digits[index] : '0';
}

QByteArray DecimalDigits::toAscii() const {
    QByteArray out = negative ? "-0." : "0.";
    out += digits;
    out += 'e';
    out += QByteArray::number(pointPos);
    return out;
}
