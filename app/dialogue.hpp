// The console dialogue: ask for n, count the primes up to it, say how long it took.
#pragma once

#include <cstdint>
#include <iosfwd>

// A real-time counter of milliseconds; only differences between two readings
// matter, taken in 32-bit arithmetic so that the counter may wrap.
using millisecond_clock = std::uint32_t (*)();

// The counting function being timed (primepi in the program).
using prime_counter = std::uint32_t (*)(std::uint32_t n);

// Runs one dialogue: writes the prompt, reads one number from `in`, and either
// rejects it (not a number, or outside 0 ... 4294967295) with one line, or
// counts the primes up to it, reading `clock` right before and right after
// `count`, and reports n, the count and the elapsed milliseconds.
// Returns the process exit status: 0 after a report, 1 after a rejection.
// A failure to write to `out` is not reported and does not change the status.
int run_dialogue(std::istream& in, std::ostream& out, millisecond_clock clock, prime_counter count);
