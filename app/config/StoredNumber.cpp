#include "StoredNumber.h"

#include "CommonFunctions.h"
#include "NumberFormat.h"
#include "NumberParse.h"

#include <charconv>
#include <cmath>
#include <cstdio>

namespace {

// C-locale digits in the locale's form: only the decimal point differs.
QString localised(const char* begin, const char* end) {
    QString text = QString::fromLatin1(begin, end - begin);
    text.replace(QLatin1Char('.'), separatoreDecimale());
    return text;
}

template <typename T> bool readsBackAs(const QString& text, T value) {
    const auto back = storedNumberValue(text);
    return back && static_cast<T>(*back) == value;
}

template <typename T> QString roundTrip(T value, int maxDigits) {
    QString text = numberToText(value);
    if (!std::isfinite(value) || readsBackAs(text, value))
        return text;
    char buf[64];
    const auto shortest = std::to_chars(buf, buf + sizeof buf, value);
    text = localised(buf, shortest.ptr);
    if (readsBackAs(text, value))
        return text;
    // Reading a float through a double may round twice; more digits settle it.
    const int n = std::snprintf(buf, sizeof buf, "%.*g", maxDigits, double(value));
    return localised(buf, buf + n);
}

} // namespace

QString storedNumber(double value) {
    return roundTrip(value, 17);
}

QString storedNumber(float value) {
    return roundTrip(value, 9);
}

std::optional<double> storedNumberValue(const QString& text) {
    return parseNumber(normalizzaNumero(text));
}
