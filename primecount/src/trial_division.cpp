#include "trial_division.hpp"

#include <cmath>

#include "tables.hpp"

namespace {

// floor(sqrt(c)) for every c below 2^32, perfect squares included: the double
// nearest to sqrt(c) never rounds up across a whole number there. (A float
// would: it gives 65536 for 4294967279.)
std::uint32_t integer_sqrt(std::uint32_t c) noexcept
{
    return static_cast<std::uint32_t>(std::sqrt(static_cast<double>(c)));
}

} // namespace

bool is_wheel_prime(std::uint32_t c) noexcept
{
    const std::uint32_t root = integer_sqrt(c);
    std::uint32_t phase = 0;
    // root is at most 65535, so the divisor never comes near wrapping.
    for (std::uint32_t divisor = 7; divisor <= root; divisor += wheel_steps[phase], phase = (phase + 1) % 8) {
        if (c % divisor == 0) {
            return false;
        }
    }
    return true;
}
