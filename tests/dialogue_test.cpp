#include <gtest/gtest.h>

#include <cstdint>
#include <sstream>
#include <string>
#include <vector>

#include "dialogue.hpp"

namespace {

const std::string prompt = "Input a positive integer (0 - 4294967295) : ";
const std::string rejection = "Invalid number! Range: 0 <= n <= 4294967295\n";

// The fake clock returns these readings in turn; the fake count records what
// it was asked and when.
std::vector<std::uint32_t> clock_readings;
std::size_t clock_reads = 0;
std::uint32_t counted_n = 0;
int count_calls = 0;
std::size_t clock_reads_before_count = 0;

std::uint32_t fake_clock()
{
    const std::uint32_t reading = clock_reads < clock_readings.size() ? clock_readings[clock_reads] : 0;
    ++clock_reads;
    return reading;
}

constexpr std::uint32_t fake_count_result = 4242;

std::uint32_t fake_count(std::uint32_t n)
{
    counted_n = n;
    ++count_calls;
    clock_reads_before_count = clock_reads;
    return fake_count_result;
}

struct dialogue_result {
    int status;
    std::string output;
    std::string unread_input;
};

dialogue_result run(const std::string& input, std::vector<std::uint32_t> readings = {100, 107})
{
    clock_readings = std::move(readings);
    clock_reads = 0;
    count_calls = 0;
    std::istringstream in(input);
    std::ostringstream out;
    const int status = run_dialogue(in, out, fake_clock, fake_count);
    in.clear();
    return {status, out.str(), std::string(std::istreambuf_iterator<char>(in), {})};
}

std::string report(const std::string& n, const std::string& count, const std::string& milliseconds)
{
    return prompt + "working...\n\n--> primepi( " + n + " ) = " + count + ",  Time : " + milliseconds + " msec\n";
}

TEST(dialogue_test, accepted_entries_count_up_to_the_truncated_value)
{
    const struct {
        const char* entry;
        const char* n;
    } cases[] = {
        {"0\n", "0"},
        {"-0\n", "0"},
        {"0.5\n", "0"},
        {".5\n", "0"},
        {"5.\n", "5"},
        {"+17\n", "17"},
        {"10.9\n", "10"},
        {"1e3\n", "1000"},
        {"1E2\n", "100"},
        {"1e-400\n", "0"},
        {"12abc\n", "12"},
        {"\n\n7\n", "7"},
        {" \t\v\f\r42 99\n", "42"},
        {"4294967295\n", "4294967295"},
        {"4294967295.0\n", "4294967295"},
        {"4294967294.9\n", "4294967294"},
    };
    for (const auto& c : cases) {
        const dialogue_result result = run(c.entry);
        EXPECT_EQ(result.status, 0) << "entry " << c.entry;
        EXPECT_EQ(result.output, report(c.n, std::to_string(fake_count_result), "7")) << "entry " << c.entry;
        EXPECT_EQ(count_calls, 1) << "entry " << c.entry;
        EXPECT_EQ(std::to_string(counted_n), c.n) << "entry " << c.entry;
    }
}

TEST(dialogue_test, rejected_entries_get_one_line_and_no_count)
{
    const std::string huge_digits = "1" + std::string(400, '0') + "\n";
    for (const std::string& entry : std::vector<std::string>{"-1\n", "-0.5\n", "4294967295.5\n", "4294967296\n", "1e400\n", "-1e400\n", "2e308\n", "abc\n", "-abc\n",
          "inf\n", "nan\n", "-\n", ".\n", ".x\n", "1e\n", "5e\n", "1e+\n", "", "  \n\n", huge_digits}) {
        const dialogue_result result = run(entry);
        EXPECT_EQ(result.status, 1) << "entry " << entry;
        EXPECT_EQ(result.output, prompt + rejection) << "entry " << entry;
        EXPECT_EQ(count_calls, 0) << "entry " << entry;
        EXPECT_EQ(clock_reads, 0U) << "entry " << entry;
    }
}

TEST(dialogue_test, reads_nothing_after_the_number)
{
    EXPECT_EQ(run("12abc\nmore\n").unread_input, "abc\nmore\n");
}

TEST(dialogue_test, clock_is_read_right_before_and_after_the_count)
{
    run("1000\n");
    EXPECT_EQ(clock_reads_before_count, 1U);
    EXPECT_EQ(clock_reads, 2U);
}

TEST(dialogue_test, elapsed_time_in_default_floating_point_format)
{
    const struct {
        std::uint32_t start;
        std::uint32_t stop;
        const char* shown;
    } cases[] = {
        {5, 5, "0"},
        {5, 1239, "1234"},
        {0, 999999, "999999"},
        {0, 1000000, "1e+06"},
        {0, 1234567, "1.23457e+06"},
        {4294967290U, 26, "32"}, // the counter wrapped during the count
        {10, 5, "-5"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(run("1\n", {c.start, c.stop}).output, report("1", std::to_string(fake_count_result), c.shown))
            << "clock " << c.start << " -> " << c.stop;
    }
}

TEST(dialogue_test, failed_writes_change_no_exit_status)
{
    for (const auto& [entry, status] : {std::pair{"100\n", 0}, std::pair{"abc\n", 1}}) {
        std::istringstream in(entry);
        std::ostream broken(nullptr); // every write fails
        EXPECT_EQ(run_dialogue(in, broken, fake_clock, fake_count), status) << "entry " << entry;
    }
}

} // namespace
