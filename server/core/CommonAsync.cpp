#include "CommonAsync.h"

#include <chrono>
#include <cmath>

float attesaPrecisa(float rate) {
    // Only a positive finite rate describes a period; anything else would divide by zero or
    // wait for ever.
    if (!(rate > 0.0f) || !std::isfinite(rate))
        return 0.0f;
    using Clock = std::chrono::steady_clock;
    const double target = 0.00095 / static_cast<double>(rate);
    const auto start = Clock::now();
    double elapsed = 0.0;
    do {
        elapsed = std::chrono::duration<double>(Clock::now() - start).count();
    } while (elapsed < target || elapsed <= 0.0);
    return static_cast<float>(0.001 / elapsed);
}
