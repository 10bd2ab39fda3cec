// The tests' own oracle: prime counts by a plain segmented sieve of
// Eratosthenes over the odd numbers, sharing nothing with the code under test.
#pragma once

#include <cstdint>
#include <vector>

namespace sieve {

// pi(n) for every n from first to last (first <= last < 2^32), in order.
// The first call that reaches high n sieves the range below it once (about
// three seconds for the whole 32-bit range); later calls reuse that work.
std::vector<std::uint32_t> prime_counts(std::uint64_t first, std::uint64_t last);

// pi(n), for n < 2^32.
std::uint32_t prime_count(std::uint64_t n);

// Whether n is prime, for each n from first to last (first <= last < 2^32).
std::vector<bool> primality(std::uint64_t first, std::uint64_t last);

} // namespace sieve
