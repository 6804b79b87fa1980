#include "Reflection.h"

#include <cmath>
#include <limits>

std::optional<Reflection> reflectionOf(double levelDb) {
    if (!(levelDb <= 0.0))
        return std::nullopt;
    Reflection r;
    r.rho = std::pow(10.0, levelDb / 20.0);
    r.swr = r.rho < 1.0 ? (1.0 + r.rho) / (1.0 - r.rho) : std::numeric_limits<double>::infinity();
    r.returnLossDb = -levelDb;
    return r;
}
