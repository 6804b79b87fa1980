#include "NumberFormat.h"

#include "DecimalDigits.h"

#include <QLocale>
#include <cmath>

namespace {

// A Double shows as text with up to 15 significant digits, a Single with 7.
constexpr int kDoubleDigits = 15;
constexpr int kFloatDigits = 7;

QString nonFinite(double value) {
    if (std::isnan(value))
        return QStringLiteral("NaN");
    return value < 0 ? QStringLiteral("-Inf") : QStringLiteral("Inf");
}

QString digitsToText(const DecimalDigits& d, int significant) {
    const QLocale locale;
    const QString point = locale.decimalPoint();
    const int exponent = d.pointPos - 1;
    QString out;
    if (d.negative)
        out += QLatin1Char('-');
    if (!d.isZero() && (exponent >= significant || exponent < -4)) {
        // Exponent form: "1.5E+20", "1E-05".
        out += QLatin1Char(d.digits[0]);
        if (d.digits.size() > 1)
            out += point + QString::fromLatin1(d.digits.mid(1));
        out += QLatin1Char('E');
        out += QLatin1Char(exponent < 0 ? '-' : '+');
        out += QString::number(std::abs(exponent)).rightJustified(2, QLatin1Char('0'));
        return out;
    }
    if (d.pointPos <= 0) {
        out += QLatin1Char('0');
    } else {
        for (int i = 0; i < d.pointPos; ++i)
            out += QLatin1Char(d.digitAt(i));
    }
    if (d.digits.size() > d.pointPos) {
        out += point;
        for (int i = d.pointPos; i < d.digits.size(); ++i)
            out += QLatin1Char(d.digitAt(i));
    }
    return out;
}

QString toText(double value, int significant) {
    if (!std::isfinite(value))
        return nonFinite(value);
    return digitsToText(DecimalDigits::fromDouble(value, significant), significant);
}

QString groupDigits(const QString& digits, const QString& separator) {
    QString out;
    const int n = digits.size();
    for (int i = 0; i < n; ++i) {
        if (i > 0 && (n - i) % 3 == 0)
            out += separator;
        out += digits[i];
    }
    return out;
}

} // namespace

QString formatNumber(double value, const QString& picture) {
    if (picture.compare(QLatin1String("General Number"), Qt::CaseInsensitive) == 0)
        return numberToText(value);
    if (picture.compare(QLatin1String("Fixed"), Qt::CaseInsensitive) == 0)
        return formatNumber(value, QStringLiteral("0.00"));
    if (picture.compare(QLatin1String("Standard"), Qt::CaseInsensitive) == 0)
        return formatNumber(value, QStringLiteral("#,##0.00"));
    if (!std::isfinite(value))
        return nonFinite(value);

    const qsizetype dot = picture.indexOf(QLatin1Char('.'));
    const QString intPic = dot < 0 ? picture : picture.left(dot);
    const QString fracPic = dot < 0 ? QString() : picture.mid(dot + 1);
    const bool grouping = intPic.contains(QLatin1Char(','));
    const int minInt = int(intPic.count(QLatin1Char('0')));
    const int forcedFrac = int(fracPic.count(QLatin1Char('0')));
    const int decimals = forcedFrac + int(fracPic.count(QLatin1Char('#')));

    DecimalDigits d = DecimalDigits::fromDouble(value, kDoubleDigits);
    d.roundAt(decimals, DecimalDigits::Tie::AwayFromZero);

    QString intDigits;
    for (int i = 0; i < d.pointPos; ++i)
        intDigits += QLatin1Char(d.digitAt(i));
    if (d.isZero())
        intDigits.clear();
    if (intDigits.size() < minInt)
        intDigits = QString(minInt - intDigits.size(), QLatin1Char('0')) + intDigits;

    QString frac;
    for (int i = 0; i < decimals; ++i)
        frac += QLatin1Char(d.isZero() ? '0' : d.digitAt(d.pointPos + i));
    while (frac.size() > forcedFrac && frac.endsWith(QLatin1Char('0')))
        frac.chop(1);

    const QLocale locale;
    QString out;
    if (d.negative)
        out += QLatin1Char('-');
    out += grouping ? groupDigits(intDigits, locale.groupSeparator()) : intDigits;
    if (!frac.isEmpty())
        out += locale.decimalPoint() + frac;
    return out;
}

double shownNumber(double value, int decimals) {
    if (!std::isfinite(value))
        return value;
    DecimalDigits d = DecimalDigits::fromDouble(value, kDoubleDigits);
    d.roundAt(decimals, DecimalDigits::Tie::AwayFromZero);
    bool ok = false;
    const double shown = QLocale::c().toDouble(QString::fromLatin1(d.toAscii()), &ok);
    return ok ? shown + 0.0 : value;
}

QString numberToText(double value) {
    return toText(value, kDoubleDigits);
}

QString numberToText(float value) {
    return toText(double(value), kFloatDigits);
}

QString numberToTextBlank(double value) {
    const QString text = numberToText(value);
    return text.startsWith(QLatin1Char('-')) ? text : QLatin1Char(' ') + text;
}

QString numberToTextBlank(float value) {
    const QString text = numberToText(value);
    return text.startsWith(QLatin1Char('-')) ? text : QLatin1Char(' ') + text;
}
