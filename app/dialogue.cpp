#include "dialogue.hpp"

#include <istream>
#include <ostream>

namespace {

constexpr double largest_entry = 4294967295.0;

} // namespace

int run_dialogue(std::istream& in, std::ostream& out, millisecond_clock clock, prime_counter count)
{
    out << "Input a positive integer (0 - 4294967295) : " << std::flush;

    // The extraction skips leading white space, so empty lines are passed
    // over, and stops at the first character that cannot continue the number
    // (12abc reads as 12). An entry that yields no number at all (abc, 1e, or
    // the end of input) fails the extraction and is rejected. NaN compares
    // false both ways and is rejected with the out-of-range values.
    double entry = 0.0;
    if (!(in >> entry) || !(entry >= 0.0 && entry <= largest_entry)) {
        out << "Invalid number! Range: 0 <= n <= 4294967295" << std::endl;
        return 1;
    }
    out << "working..." << std::endl;

    const auto n = static_cast<std::uint32_t>(entry); // truncates: 10.9 counts up to 10
    const std::uint32_t start = clock();
    const std::uint32_t primes = count(n);
    const std::uint32_t stop = clock();

    // The tick difference as a signed 32-bit value, one tick per millisecond.
    const auto elapsed_ms = static_cast<double>(static_cast<std::int32_t>(stop - start));
    out << std::endl;
    out << "--> primepi( " << n << " ) = " << primes << ",  Time : " << elapsed_ms << " msec" << std::endl;
    return 0;
}
