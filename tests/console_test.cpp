// End-to-end: the built program, with piped standard input.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <string>

#include "prime_sieve.hpp"

namespace {

const std::string prompt = "Input a positive integer (0 - 4294967295) : ";
const std::string rejection = "Invalid number! Range: 0 <= n <= 4294967295\n";

enum class output_sink { pipe, dev_full, closed_pipe };

struct process_result {
    std::string out;
    std::string err;
    int wait_status;
};

std::string read_all(int fd)
{
    std::string text;
    char buffer[4096];
    for (ssize_t got; (got = read(fd, buffer, sizeof buffer)) > 0;) {
        text.append(buffer, static_cast<std::size_t>(got));
    }
    close(fd);
    return text;
}

// A started program: its process and our ends of its standard streams (-1
// where there is none).
struct child_process {
    pid_t pid;
    int in;
    int out;
    int err;
};

// Starts the program with its standard output going to `sink`, and with the
// default action for the signals that it is tested with, whatever ours are.
child_process start_primepi(output_sink sink)
{
    std::signal(SIGPIPE, SIG_IGN); // our own writes to a program that has exited
    int in[2];
    int out[2];
    int err[2];
    if (pipe(in) != 0 || pipe(out) != 0 || pipe(err) != 0) {
        ADD_FAILURE() << "pipe failed";
        return {-1, -1, -1, -1};
    }
    if (sink == output_sink::closed_pipe) {
        close(out[0]); // no reader left: every write to the pipe fails
        out[0] = -1;
    }
    const pid_t pid = fork();
    if (pid == 0) {
        std::signal(SIGPIPE, SIG_DFL);
        std::signal(SIGINT, SIG_DFL);
        dup2(in[0], STDIN_FILENO);
        dup2(sink == output_sink::dev_full ? open("/dev/full", O_WRONLY) : out[1], STDOUT_FILENO);
        dup2(err[1], STDERR_FILENO);
        for (const int fd : {in[0], in[1], out[0], out[1], err[0], err[1]}) {
            if (fd >= 0) {
                close(fd);
            }
        }
        execl(PRIMEPI_EXECUTABLE, "primepi", static_cast<char*>(nullptr));
        _exit(127);
    }
    close(in[0]);
    close(out[1]);
    close(err[1]);
    return {pid, in[1], out[0], err[0]};
}

void send(const child_process& child, const std::string& input)
{
    if (write(child.in, input.data(), input.size()) != static_cast<ssize_t>(input.size()) && !input.empty()) {
        ADD_FAILURE() << "could not write the input";
    }
}

// Reads what is left of the program's output and waits for it to end.
process_result finish(const child_process& child, std::string out_so_far = "")
{
    close(child.in);
    process_result result{};
    result.out = std::move(out_so_far);
    if (child.out >= 0) {
        result.out += read_all(child.out);
    }
    result.err = read_all(child.err);
    waitpid(child.pid, &result.wait_status, 0);
    return result;
}

// Runs the program with `input` on its standard input.
process_result run_primepi(const std::string& input, output_sink sink = output_sink::pipe)
{
    const child_process child = start_primepi(sink);
    send(child, input);
    return finish(child);
}

int exit_status(const process_result& result)
{
    return WIFEXITED(result.wait_status) ? WEXITSTATUS(result.wait_status) : -1;
}

TEST(console_test, reports_the_count_and_the_time)
{
    for (const std::uint32_t n : {0U, 100U, 1000000U, 4294967295U}) {
        const process_result result = run_primepi(std::to_string(n) + "\n");
        const std::string expected_start = prompt + "working...\n\n--> primepi( " + std::to_string(n) +
                                           " ) = " + std::to_string(sieve::prime_count(n)) + ",  Time : ";
        EXPECT_EQ(result.out.substr(0, expected_start.size()), expected_start) << "n = " << n;
        const std::string elapsed = result.out.substr(expected_start.size());
        const std::size_t digits = elapsed.find_first_not_of("0123456789");
        EXPECT_TRUE(digits > 0 && digits != std::string::npos && elapsed.substr(digits) == " msec\n")
            << "output: " << result.out;
        EXPECT_EQ(result.err, "");
        EXPECT_EQ(exit_status(result), 0);
    }
}

TEST(console_test, rejects_with_status_1)
{
    for (const std::string entry : {"-1\n", "4294967296\n", "abc\n", ""}) {
        const process_result result = run_primepi(entry);
        EXPECT_EQ(result.out, prompt + rejection) << "entry " << entry;
        EXPECT_EQ(result.err, "") << "entry " << entry;
        EXPECT_EQ(exit_status(result), 1) << "entry " << entry;
    }
}

TEST(console_test, unwritable_output_changes_nothing)
{
    for (const output_sink sink : {output_sink::dev_full, output_sink::closed_pipe}) {
        for (const auto& [entry, status] : {std::pair{"1000\n", 0}, std::pair{"-5\n", 1}}) {
            const process_result result = run_primepi(entry, sink);
            EXPECT_TRUE(WIFEXITED(result.wait_status)) << "killed by signal " << WTERMSIG(result.wait_status);
            EXPECT_EQ(exit_status(result), status) << "entry " << entry;
            EXPECT_EQ(result.err, "") << "entry " << entry;
        }
    }
}

// Ctrl-C during the slowest count ends the program by the default action:
// killed by the signal, with no report.
TEST(console_test, an_interrupt_during_the_count_ends_it_without_a_report)
{
    const child_process child = start_primepi(output_sink::pipe);
    send(child, "4292870130\n");
    std::string out;
    char buffer[256];
    for (ssize_t got; out.find("working...\n") == std::string::npos &&
                      (got = read(child.out, buffer, sizeof buffer)) > 0;) {
        out.append(buffer, static_cast<std::size_t>(got));
    }
    kill(child.pid, SIGINT);
    const process_result result = finish(child, out);
    ASSERT_TRUE(WIFSIGNALED(result.wait_status)) << "output: " << result.out;
    EXPECT_EQ(WTERMSIG(result.wait_status), SIGINT);
    EXPECT_EQ(result.out, prompt + "working...\n");
    EXPECT_EQ(result.err, "");
}

} // namespace
