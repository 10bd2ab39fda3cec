// Feeds arbitrary bytes to the dialogue as its standard input, with a fake
// clock and an instant count, and checks that exactly one of the two outcomes
// happens, well formed: a report of the value read, truncated, with status 0,
// or the range message with status 1.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>

#include "dialogue.hpp"

namespace {

std::uint32_t clock_reads = 0;
std::uint32_t counted_n = 0;
int count_calls = 0;

std::uint32_t fake_clock()
{
    return 1000 * clock_reads++; // 1000 ms between the two readings
}

std::uint32_t fake_count(std::uint32_t n)
{
    counted_n = n;
    ++count_calls;
    return n / 3;
}

void require(bool holds, const char* what, const std::string& input, const std::string& output)
{
    if (!holds) {
        std::fprintf(stderr, "%s\ninput: [%s]\noutput: [%s]\n", what, input.c_str(), output.c_str());
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string input(reinterpret_cast<const char*>(data), size);
    clock_reads = 0;
    count_calls = 0;
    std::istringstream in(input);
    std::ostringstream out;
    const int status = run_dialogue(in, out, fake_clock, fake_count);
    const std::string output = out.str();

    // What the standard extraction reads from the same bytes.
    std::istringstream again(input);
    double value = 0.0;
    const bool read = static_cast<bool>(again >> value);
    const bool in_range = read && value >= 0.0 && value <= 4294967295.0;

    const std::string prompt = "Input a positive integer (0 - 4294967295) : ";
    if (!in_range) {
        require(status == 1, "a rejected entry must exit with status 1", input, output);
        require(output == prompt + "Invalid number! Range: 0 <= n <= 4294967295\n", "malformed rejection", input, output);
        require(count_calls == 0 && clock_reads == 0, "a rejected entry was counted", input, output);
        return 0;
    }
    const auto n = static_cast<std::uint32_t>(value);
    require(status == 0, "a report must exit with status 0", input, output);
    require(count_calls == 1 && counted_n == n && clock_reads == 2, "not one timed count of the value read", input,
            output);
    require(counted_n <= value && value < static_cast<double>(counted_n) + 1.0, "n is not the value truncated", input,
            output);
    require(output == prompt + "working...\n\n--> primepi( " + std::to_string(n) + " ) = " + std::to_string(n / 3) +
                          ",  Time : 1000 msec\n",
            "malformed report", input, output);
    return 0;
}
