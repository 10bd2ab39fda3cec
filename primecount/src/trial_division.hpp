// Trial division of the numbers that the walks produce.
#pragma once

#include <cstdint>

// is_wheel_prime(c): whether c is prime.
//
// Domain: c coprime to 30 and above 30, which is every number a walk tests.
// Cost:   tries each number coprime to 30 from 7 up to floor(sqrt(c)),
//         composite ones such as 49 included, and stops at the first that
//         divides c: up to 17,476 divisions for a prime near 2^32.
bool is_wheel_prime(std::uint32_t c) noexcept;
