// Trial division of the numbers that the walks produce.
#pragma once

#include <cstdint>

// is_wheel_prime(c): whether c is prime.
//
// Domain: c coprime to 30 and above 30, which is every number a walk tests.
// Cost:   tries each number coprime to 30 from 7 up to floor(sqrt(c)),
//         composite ones such as 49 included, in wheel turns (the eight
//         divisors 30k + 7 ... 30k + 31), and stops no later than the end of
//         the step, of at most four turns, that holds the first divisor of c:
//         up to 17,476 divisors, in 2,185 turns, for a prime near 2^32. Runs
//         the fastest kernel that the processor has, chosen on the first call.
bool is_wheel_prime(std::uint32_t c) noexcept;

// The ways of running the same trial division: the scalar loop, one divisor
// at a time, runs anywhere; the vector kernels divide all eight divisors of a
// wheel turn, or of two, at once, on x86 processors that have the
// instructions.
enum class division_kernel { scalar, sse2, avx2, avx512 };

// Whether this build has the kernel and this processor can run it.
bool kernel_available(division_kernel kernel) noexcept;

// The kernel that is_wheel_prime runs: the widest available one.
division_kernel fastest_kernel() noexcept;

// is_wheel_prime by the given kernel; an unavailable one runs the scalar loop.
bool is_wheel_prime_with(division_kernel kernel, std::uint32_t c) noexcept;
