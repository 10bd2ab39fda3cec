// primepi: asks for n and says how many primes there are up to n, and how
// long counting them took.
#include <chrono>
#include <csignal>
#include <cstdint>
#include <iostream>

#include "dialogue.hpp"
#include "primepi.hpp"

namespace {

std::uint32_t steady_milliseconds()
{
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<std::uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(now).count());
}

} // namespace

int main()
{
    // A reader that goes away (primepi | head -c 10) must not kill the
    // program: the failed write is ignored like any other.
#ifdef SIGPIPE
    std::signal(SIGPIPE, SIG_IGN);
#endif
    return run_dialogue(std::cin, std::cout, steady_milliseconds, primepi);
}
