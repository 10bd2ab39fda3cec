#include <gtest/gtest.h>

#include <cstdint>
#include <numeric>
#include <string>
#include <vector>

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

// Every vector kernel answers as the scalar loop does, on the numbers where a
// vectorised or reciprocal-based test could slip: a long run from the start,
// the top of the range (largest quotients), the squares of primes and their
// neighbours (the divisor equal to the root, in any lane), products of two
// primes near 2^16, and, for every prime p below 2^16, p times the largest
// prime q >= p with p * q < 2^32, and that product's neighbours: the largest
// quotient, where an estimate of c / p is least precise, for every divisor
// that can be the first to divide.
std::vector<std::uint32_t> hard_candidates()
{
    std::vector<std::uint64_t> numbers;
    for (std::uint64_t c = 31; c <= (1 << 20); ++c) {
        numbers.push_back(c);
    }
    for (std::uint64_t c = (std::uint64_t{1} << 32) - (1 << 18); c < (std::uint64_t{1} << 32); ++c) {
        numbers.push_back(c);
    }
    const std::vector<bool> small_prime = sieve::primality(0, 65535);
    std::vector<std::uint64_t> large_primes;
    for (std::uint64_t p = 7; p < small_prime.size(); ++p) {
        if (!small_prime[p]) {
            continue;
        }
        for (std::uint64_t c = p * p - 30; c <= std::min<std::uint64_t>(p * p + 30, 4294967295U); ++c) {
            numbers.push_back(c);
        }
        if (p > 65000) {
            large_primes.push_back(p);
        }
    }
    for (std::uint64_t p = 7; p < small_prime.size(); ++p) {
        if (!small_prime[p]) {
            continue;
        }
        // Prime gaps below 2^30 are far shorter than 1000.
        const std::uint64_t top = 4294967295U / p;
        const std::vector<bool> below_top = sieve::primality(top - 1000, top);
        std::uint64_t q = top;
        while (!below_top[q - (top - 1000)]) {
            --q;
        }
        if (q >= p) {
            for (std::uint64_t c = p * q - 2; c <= std::min<std::uint64_t>(p * q + 2, 4294967295U); ++c) {
                numbers.push_back(c);
            }
        }
    }
    for (const std::uint64_t p : large_primes) {
        for (const std::uint64_t q : large_primes) {
            if (p * q < (std::uint64_t{1} << 32)) {
                numbers.push_back(p * q);
            }
        }
    }
    std::vector<std::uint32_t> candidates;
    for (const std::uint64_t c : numbers) {
        if (c > 30 && std::gcd(c, std::uint64_t{30}) == 1) {
            candidates.push_back(static_cast<std::uint32_t>(c));
        }
    }
    return candidates;
}

std::string kernel_name(const testing::TestParamInfo<division_kernel>& info)
{
    switch (info.param) {
    case division_kernel::scalar:
        return "scalar";
    case division_kernel::sse2:
        return "sse2";
    case division_kernel::avx2:
        return "avx2";
    case division_kernel::avx512:
        return "avx512";
    }
    return "unknown";
}

class division_kernel_test : public testing::TestWithParam<division_kernel> {};

TEST_P(division_kernel_test, agrees_with_the_scalar_loop)
{
    if (!kernel_available(GetParam())) {
        GTEST_SKIP() << "not built, or this processor lacks the instructions";
    }
    static const std::vector<std::uint32_t> candidates = hard_candidates();
    for (const std::uint32_t c : candidates) {
        ASSERT_EQ(is_wheel_prime_with(GetParam(), c), is_wheel_prime_with(division_kernel::scalar, c)) << "c = " << c;
    }
}

INSTANTIATE_TEST_SUITE_P(all, division_kernel_test,
                         testing::Values(division_kernel::sse2, division_kernel::avx2, division_kernel::avx512),
                         kernel_name);

TEST(trial_division_test, the_fastest_kernel_is_available)
{
    EXPECT_TRUE(kernel_available(fastest_kernel()));
    EXPECT_TRUE(kernel_available(division_kernel::scalar));
}

} // namespace
