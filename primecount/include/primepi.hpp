// The prime-counting function of the 32-bit range.
#pragma once

#include <cstdint>

// primepi(n): the number of primes p with p <= n.
//
// Domain: every unsigned 32-bit n, 0 to 4294967295; there is no failure.
// Result: exact, at most 203280221 (the number of primes below 2^32).
// Cost:   starts from the nearer of the two precomputed exact counts around n
//         and tests by trial division only the numbers coprime to 30 between
//         that count's point and n: at most about 559,000 candidates, at the
//         top of the 32-bit range. Allocates nothing, keeps no state, and may
//         be called from any number of threads at once.
std::uint32_t primepi(std::uint32_t n) noexcept;
