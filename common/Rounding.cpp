#include "Rounding.h"

#include "DecimalDigits.h"

#include <QLocale>
#include <cmath>
#include <limits>

namespace {

// std::nearbyint follows the current rounding mode, which is to-nearest-even unless
// someone changed it; do not depend on that.
double nearestEven(double value) {
    const double floor = std::floor(value);
    const double diff = value - floor;
    if (diff < 0.5)
        return floor;
    if (diff > 0.5)
        return floor + 1.0;
    return std::fmod(floor, 2.0) == 0.0 ? floor : floor + 1.0;
}

template <typename T> std::optional<T> toIntegral(double value) {
    if (!std::isfinite(value))
        return std::nullopt;
    const double r = nearestEven(value);
    if (r < double(std::numeric_limits<T>::min()) || r > double(std::numeric_limits<T>::max()))
        return std::nullopt;
    return static_cast<T>(r);
}

} // namespace

double roundHalfEven(double value, int decimals) {
    if (!std::isfinite(value))
        return value;
    if (decimals <= 0) {
        const double scale = std::pow(10.0, -decimals);
        return nearestEven(value / scale) * scale;
    }
    DecimalDigits d = DecimalDigits::fromDouble(value, 15);
    d.roundAt(decimals, DecimalDigits::Tie::ToEven);
    bool ok = false;
    const double r = QLocale::c().toDouble(QString::fromLatin1(d.toAscii()), &ok);
    return ok ? r : value;
}

std::optional<qint16> toInt16(double value) {
    return toIntegral<qint16>(value);
}

std::optional<qint32> toInt32(double value) {
    return toIntegral<qint32>(value);
}

std::optional<quint8> toByte(double value) {
    return toIntegral<quint8>(value);
}

qint16 toInt16(double value, bool* ok) {
    const auto r = toInt16(value);
    if (ok)
        *ok = r.has_value();
    return r.value_or(0);
}

qint32 toInt32(double value, bool* ok) {
    const auto r = toInt32(value);
    if (ok)
        *ok = r.has_value();
    return r.value_or(0);
}
