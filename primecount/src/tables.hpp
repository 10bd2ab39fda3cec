// The constant tables that the prime count starts from and walks with.
#pragma once

#include <array>
#include <cstdint>

// One exact count: there are `count` primes p with p <= `point`.
struct checkpoint {
    std::uint32_t point;
    std::uint32_t count;
};

// Exact prime counts at 1041 multiples of 30, strictly ascending, in two runs:
//  - entries 0 to 16: the largest multiple of 30 not above 2^k, k = 5 ... 21
//    (30, 60, 120, ..., 2097150), so that small n have short walks too;
//  - entries 17 to 1040: the largest multiple of 30 not above j * 2^22,
//    j = 1 ... 1024 (4194300, 8388600, ..., 4294967280), neighbours 4194300 or
//    4194330 apart.
// Every point is a multiple of 30, so point - 1 and point + 1 are coprime to 30
// and a walk over the wheel can start right next to it. The first point, 30,
// lies below the first n not answered by small_counts; the last one,
// 4294967280, is the largest multiple of 30 below 2^32. Generated into
// checkpoint_table.cpp by tools/make_checkpoint_table.cpp.
inline constexpr std::size_t checkpoint_count = 1041;
extern const std::array<checkpoint, checkpoint_count> checkpoint_table;

// small_counts[n] is the number of primes not above n, for n = 0 ... 36:
// below 37 the answer is looked up, not counted.
inline constexpr std::array<std::uint32_t, 37> small_counts{
    0, 0, 1, 2, 2, 3, 3, 4, 4, 4, 4, 5, 5,     // 0 ... 12
    6, 6, 6, 6, 7, 7, 8, 8, 8, 8, 9, 9,        // 13 ... 24
    9, 9, 9, 9, 10, 10, 11, 11, 11, 11, 11, 11 // 25 ... 36
};

// The wheel of 30: wheel_steps[phase] is the gap from the number of residue
// 7, 11, 13, 17, 19, 23, 29, 1 (mod 30), for phase 0 ... 7, to the next number
// coprime to 30. Stepping from 7 in phase order yields every number coprime to
// 30: 7, 11, 13, 17, 19, 23, 29, 31, 37, 41, ... The phase is taken modulo 8.
inline constexpr std::array<std::uint32_t, 8> wheel_steps{4, 2, 4, 2, 4, 6, 2, 6};
