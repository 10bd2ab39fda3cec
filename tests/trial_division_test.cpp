#include <gtest/gtest.h>

#include <cstdint>
#include <numeric>

#include "prime_sieve.hpp"
#include "trial_division.hpp"

namespace {

// Every candidate a walk could produce in [first, last] agrees with the sieve.
void expect_agrees_with_sieve(std::uint64_t first, std::uint64_t last)
{
    const std::vector<bool> prime = sieve::primality(first, last);
    for (std::uint64_t c = std::max<std::uint64_t>(first, 31); c <= last; ++c) {
        if (std::gcd(c, std::uint64_t{30}) == 1) {
            ASSERT_EQ(is_wheel_prime(static_cast<std::uint32_t>(c)), prime[c - first]) << "c = " << c;
        }
    }
}

TEST(trial_division_test, agrees_with_the_sieve_on_long_runs)
{
    expect_agrees_with_sieve(31, 1 << 20);
    expect_agrees_with_sieve(2147483648U - 100000, 2147483648U + 100000);
    expect_agrees_with_sieve(4294967295U - 200000, 4294967295U);
}

// Squares and near-squares of the largest primes below 2^16 have no divisor
// below the integer square root but that prime itself, so a divisor loop that
// stops one short of the root calls them prime.
TEST(trial_division_test, squares_of_the_largest_16bit_primes_are_composite)
{
    for (const std::uint64_t p : {65521U, 65519U, 65497U, 65479U, 65449U}) {
        EXPECT_FALSE(is_wheel_prime(static_cast<std::uint32_t>(p * p))) << "c = " << p << "^2";
        expect_agrees_with_sieve(p * p - 60, std::min<std::uint64_t>(p * p + 60, 4294967295U));
    }
    EXPECT_FALSE(is_wheel_prime(65521U * 65519U));
    EXPECT_FALSE(is_wheel_prime(49));
    EXPECT_FALSE(is_wheel_prime(121));
}

} // namespace
