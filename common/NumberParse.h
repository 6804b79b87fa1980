#pragma once
// Reading numbers typed by the user or stored in files.
//   parseNumber:   the whole text must be a number (locale decimal separator); answers
//                  std::nullopt for anything else, which is the "not a number" verdict
//                  of every typed-value check.
//   leadingNumber: the leading numeric part of a text, like Val: "12abc" -> 12,
//                  "abc" -> 0, "-40 dB" -> -40. It accepts only '.' as decimal point,
//                  whatever the locale, so "-40,5" reads as -40.

#include <QFlags>
#include <QString>
#include <optional>

enum class ParseFlag {
    None = 0x0,
    // Accept the locale's thousands separator inside the integer part ("1,000,000"
    // under English, "1.000.000" under German).
    AllowGroupSeparator = 0x1,
};
Q_DECLARE_FLAGS(ParseFlags, ParseFlag)
Q_DECLARE_OPERATORS_FOR_FLAGS(ParseFlags)

// Accepted: surrounding blanks, an optional sign, digits with the locale decimal separator
// (".5" and "5." too), an optional exponent ("5e6", "1E-3"), or "&H" followed by
// hexadecimal digits (case-insensitive, read as a non-negative number: "&H378" = 888).
// Overflow to infinity is not a number.
std::optional<double> parseNumber(const QString& text, ParseFlags flags = ParseFlag::None);

// Blanks, tabs and line breaks are skipped everywhere; an optional sign, digits, '.',
// digits, and an exponent that is taken only when digits follow the 'E'; "&H"/"&O"
// prefixes read hexadecimal/octal. No digits at all gives 0; overflow gives 0.
double leadingNumber(const QString& text);
