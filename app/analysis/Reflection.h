#pragma once
// SWR and return loss from a normalised level: the curve measured through a return-loss
// bridge and normalised to a full reflection (an open or a short) reads the reflected level
// in dB, 0 dB for everything reflected.
#include <optional>

struct Reflection {
    double rho = 0;          // reflection coefficient 10^(level / 20)
    double swr = 1;          // (1 + rho) / (1 - rho); +infinity at 0 dB (shown "Inf")
    double returnLossDb = 0; // -level
};

// No value for a level above 0 dB (more than a full reflection: the reference or the bridge is
// at fault, and 1 - rho would turn negative) or one that is not a number.
std::optional<Reflection> reflectionOf(double levelDb);
