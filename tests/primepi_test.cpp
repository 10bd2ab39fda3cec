#include <gtest/gtest.h>

#include <cstdint>
#include <random>

#include "prime_sieve.hpp"
#include "primepi.hpp"
#include "tables.hpp"

namespace {

// primepi(n) equals the sieve's count for every n in [first, last], and steps
// by one exactly at the primes.
void expect_counts_on_range(std::uint64_t first, std::uint64_t last)
{
    const std::vector<std::uint32_t> expected = sieve::prime_counts(first, last);
    const std::vector<bool> prime = sieve::primality(first, last);
    std::uint32_t previous = first == 0 ? 0 : primepi(static_cast<std::uint32_t>(first - 1));
    for (std::uint64_t n = first; n <= last; ++n) {
        const std::uint32_t got = primepi(static_cast<std::uint32_t>(n));
        ASSERT_EQ(got, expected[n - first]) << "n = " << n;
        ASSERT_EQ(got - previous, prime[n - first] ? 1U : 0U) << "primepi(n) - primepi(n - 1), n = " << n;
        previous = got;
    }
}

// The midpoint between checkpoints k and k + 1, where the walk turns around.
std::uint64_t midpoint_after(std::size_t k)
{
    return (std::uint64_t{checkpoint_table[k].point} + checkpoint_table[k + 1].point) / 2;
}

TEST(primepi_test, edge_cases_of_each_path)
{
    // small n; walks up and down in the first gaps, a tie at the midpoint of
    // 30 and 60 (45), composite candidates 49, 119 and 121; exact hits; the
    // walk across 2^31; the walk whose one candidate is the largest prime
    // below the last checkpoint; and the constants at the top.
    for (const std::uint32_t n : {0U, 1U, 2U, 3U, 36U, 37U, 44U, 45U, 46U, 47U, 48U, 59U, 60U, 61U, 100U, 120U,
                                  121U, 1000U, 2147483640U, 2147483641U, 2147483647U, 4294967278U, 4294967279U,
                                  4294967280U, 4294967290U, 4294967291U, 4294967295U}) {
        EXPECT_EQ(primepi(n), sieve::prime_count(n)) << "n = " << n;
    }
}

TEST(primepi_test, every_n_up_to_2_to_the_17)
{
    expect_counts_on_range(0, 1 << 17);
}

// Exhaustive beyond 2^17 would take hours: walks there are long and every n
// walks on its own. Sample with a fixed seed instead.
TEST(primepi_test, sampled_n_up_to_2_to_the_20)
{
    constexpr std::uint32_t seed = 20261211;
    std::mt19937 random(seed);
    std::uniform_int_distribution<std::uint32_t> pick(1 << 17, 1 << 20);
    for (int i = 0; i < 300; ++i) {
        const std::uint32_t n = pick(random);
        ASSERT_EQ(primepi(n), sieve::prime_count(n)) << "n = " << n << " (seed " << seed << ")";
    }
}

TEST(primepi_test, around_every_checkpoint)
{
    for (const checkpoint entry : checkpoint_table) {
        const std::uint64_t first = entry.point < 64 ? 0 : entry.point - 64;
        const std::uint64_t last = std::min<std::uint64_t>(std::uint64_t{entry.point} + 64, 4294967295U);
        expect_counts_on_range(first, last);
    }
}

TEST(primepi_test, top_of_the_range)
{
    expect_counts_on_range(4294967000U, 4294967295U);
}

// Either side of the midpoint between two checkpoints: the longest walks, up
// from the lower checkpoint and down from the upper one. Every pair of the
// first run, the pair that joins the two runs, and a spread of the second run:
// across 2^31 (527, 528), where the sum of the points needs 33 bits, and the
// last pair, whose walks are the slowest of all.
class primepi_midpoint_test : public testing::TestWithParam<std::size_t> {};

TEST_P(primepi_midpoint_test, walks_from_either_side)
{
    const std::uint64_t mid = midpoint_after(GetParam());
    expect_counts_on_range(mid - 2, mid + 2);
}

INSTANTIATE_TEST_SUITE_P(first_run, primepi_midpoint_test, testing::Range<std::size_t>(0, 17));
INSTANTIATE_TEST_SUITE_P(second_run, primepi_midpoint_test,
                         testing::Values<std::size_t>(17, 100, 200, 300, 400, 527, 528, 600, 700, 800, 900, 1000, 1039));

} // namespace
