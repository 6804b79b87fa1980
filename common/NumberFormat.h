#pragma once
// Numbers shown to the user and written to files: Visual-Basic-style picture formats
// ("###,###,##0", "#0.000", "General Number", "Fixed", ...) and the ordinary
// number-to-text conversion. Separators come from QLocale() (the default locale), so a
// test can switch them with QLocale::setDefault. The minus sign is always ASCII '-'.

#include <QString>
#include <concepts>
#include <type_traits>

// Formats value with a picture: '#' optional digit, '0' forced digit, ',' in the integer
// part turns on thousands grouping (locale group separator), '.' is the locale decimal
// separator. Halves round away from zero on the 15-digit decimal form of the value, as
// Format does for display. A value that shows as zero carries no minus sign.
// Named formats: "General Number" (= numberToText), "Fixed" (= "0.00"), "Standard" (= "#,##0.00").
QString formatNumber(double value, const QString& picture);
// The number a picture with `decimals` places shows of value (halves away from zero on the
// 15-digit form, as formatNumber rounds), for a reader that needs the shown value without
// reading the text back. Non-finite values are returned unchanged; zero has no sign.
double shownNumber(double value, int decimals);

// Shortest decimal form of at most 15 significant digits with the locale decimal
// separator; exponent form ("1E-05", "1.5E+20") only below 1E-4 or from 1E15 up.
// Negatives start with '-', non-negatives with no blank.
QString numberToText(double value);
// Single-precision values keep 7 significant digits (1.1f gives "1.1", not "1.10000002384186").
QString numberToText(float value);

// The same with one leading blank for non-negative numbers (" 0", " 42949673").
QString numberToTextBlank(double value);
QString numberToTextBlank(float value);

// Whole numbers: exact decimal digits, no grouping.
template <std::integral T> QString numberToText(T value) {
    if constexpr (std::is_signed_v<T>)
        return QString::number(static_cast<qint64>(value));
    else
        return QString::number(static_cast<quint64>(value));
}

template <std::integral T> QString numberToTextBlank(T value) {
    const QString text = numberToText(value);
    return value < 0 ? text : QLatin1Char(' ') + text;
}
