#include <gtest/gtest.h>

#include <cstdint>
#include <numeric>

#include "prime_sieve.hpp"
#include "tables.hpp"

namespace {

TEST(tables_test, checkpoint_points_follow_the_two_runs)
{
    ASSERT_EQ(checkpoint_table.size(), 1041U);
    std::size_t i = 0;
    for (int k = 5; k <= 21; ++k, ++i) {
        EXPECT_EQ(checkpoint_table[i].point, (std::uint64_t{1} << k) / 30 * 30) << "entry " << i;
    }
    for (std::uint64_t j = 1; j <= 1024; ++j, ++i) {
        EXPECT_EQ(checkpoint_table[i].point, j * (std::uint64_t{1} << 22) / 30 * 30) << "entry " << i;
    }
}

TEST(tables_test, every_checkpoint_count_matches_the_sieve)
{
    for (std::size_t i = 0; i < checkpoint_table.size(); ++i) {
        const checkpoint entry = checkpoint_table[i];
        EXPECT_EQ(entry.count, sieve::prime_count(entry.point)) << "entry " << i << ", point " << entry.point;
    }
}

TEST(tables_test, reference_rows)
{
    struct row {
        std::size_t index;
        std::uint32_t point;
        std::uint32_t count;
    };
    const row rows[] = {
        {0, 30, 10},
        {1, 60, 17},
        {2, 120, 30},
        {3, 240, 52},
        {4, 510, 97},
        {5, 1020, 171},
        {6, 2040, 309},
        {7, 4080, 562},
        {8, 8190, 1027},
        {9, 16380, 1899},
        {10, 32760, 3512},
        {11, 65520, 6541},
        {15, 1048560, 82023},
        {16, 2097150, 155611},
        {17, 4194300, 295946},
        {18, 8388600, 564163},
        {19, 12582900, 823749},
        {20, 16777200, 1077870},
        {528, 2147483640, 105097564},
        {529, 2151677940, 105292742},
        {1036, 4278190080, 202524020},
        {1039, 4290772980, 203091198},
        {1040, 4294967280, 203280220},
    };
    for (const row& r : rows) {
        EXPECT_EQ(checkpoint_table[r.index].point, r.point) << "entry " << r.index;
        EXPECT_EQ(checkpoint_table[r.index].count, r.count) << "entry " << r.index;
    }
}

TEST(tables_test, small_counts_match_the_sieve)
{
    const std::vector<std::uint32_t> expected = sieve::prime_counts(0, 36);
    ASSERT_EQ(small_counts.size(), expected.size());
    for (std::size_t n = 0; n < small_counts.size(); ++n) {
        EXPECT_EQ(small_counts[n], expected[n]) << "n = " << n;
    }
}

TEST(tables_test, wheel_steps_from_7_visit_exactly_the_numbers_coprime_to_30)
{
    std::uint64_t c = 7;
    std::size_t phase = 0;
    for (int step = 0; step < 8; ++step, phase = (phase + 1) % 8) {
        c += wheel_steps[phase];
    }
    EXPECT_EQ(c, 37U) << "one turn of the wheel from 7";

    c = 7;
    phase = 0;
    for (std::uint64_t m = 7; m < 3000; ++m) {
        if (std::gcd(m, std::uint64_t{30}) != 1) {
            continue;
        }
        ASSERT_EQ(c, m) << "the wheel skipped or added a number";
        c += wheel_steps[phase];
        phase = (phase + 1) % 8;
    }
}

} // namespace
