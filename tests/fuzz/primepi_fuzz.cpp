// Checks primepi at arbitrary n below 2^24 against a plain sieve, and that it
// steps by one exactly at the primes.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "primepi.hpp"

namespace {

constexpr std::uint32_t limit = std::uint32_t{1} << 24;

// prime_counts[n] = the number of primes not above n, for n < 2^24.
const std::vector<std::uint32_t>& prime_counts()
{
    static const std::vector<std::uint32_t> counts = [] {
        std::vector<bool> composite(limit, false);
        std::vector<std::uint32_t> running(limit, 0);
        std::uint32_t primes = 0;
        for (std::uint32_t i = 2; i < limit; ++i) {
            if (!composite[i]) {
                ++primes;
                for (auto m = static_cast<std::uint64_t>(i) * i; m < limit; m += i) {
                    composite[m] = true;
                }
            }
            running[i] = primes;
        }
        return running;
    }();
    return counts;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::uint32_t n = 0;
    for (std::size_t i = 0; i < size && i < 3; ++i) {
        n |= std::uint32_t{data[i]} << (8 * i);
    }
    const std::vector<std::uint32_t>& expected = prime_counts();
    const std::uint32_t got = primepi(n);
    if (got != expected[n]) {
        std::fprintf(stderr, "primepi(%u): expected %u, got %u\n", n, expected[n], got);
        std::abort();
    }
    if (n > 0 && got - primepi(n - 1) != expected[n] - expected[n - 1]) {
        std::fprintf(stderr, "primepi(%u) - primepi(%u) is not 1 exactly at a prime\n", n, n - 1);
        std::abort();
    }
    return 0;
}
