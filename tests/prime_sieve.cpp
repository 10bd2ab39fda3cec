#include "prime_sieve.hpp"

#include <algorithm>

namespace sieve {
namespace {

constexpr std::uint64_t block_size = std::uint64_t{1} << 20;

std::vector<std::uint64_t> small_odd_primes()
{
    std::vector<std::uint64_t> primes;
    std::vector<char> crossed(1 << 16, 0);
    for (std::uint64_t p = 3; p < crossed.size(); p += 2) {
        if (crossed[p] == 0) {
            primes.push_back(p);
            for (std::uint64_t q = p * p; q < crossed.size(); q += p) {
                crossed[q] = 1;
            }
        }
    }
    return primes;
}

// odd[i] tells whether begin + 2i + 1 is prime, for the odd numbers in
// [begin, end); begin is even.
std::vector<char> sieve_odd_numbers(std::uint64_t begin, std::uint64_t end)
{
    static const std::vector<std::uint64_t> odd_primes = small_odd_primes();
    std::vector<char> odd((end - begin) / 2, 1);
    for (const std::uint64_t p : odd_primes) {
        if (p * p >= end) {
            break;
        }
        std::uint64_t multiple = std::max(p * p, (begin + p - 1) / p * p);
        if (multiple % 2 == 0) {
            multiple += p;
        }
        for (; multiple < end; multiple += 2 * p) {
            odd[(multiple - begin) / 2] = 0;
        }
    }
    if (begin == 0) {
        odd[0] = 0; // 1
    }
    return odd;
}

// primes_below[b] = pi(b * block_size - 1): filled on demand, block by block.
std::uint32_t primes_below_block(std::uint64_t b)
{
    static std::vector<std::uint32_t> primes_below{0};
    while (primes_below.size() <= b) {
        const std::uint64_t begin = (primes_below.size() - 1) * block_size;
        const std::vector<char> odd = sieve_odd_numbers(begin, begin + block_size);
        const auto odd_primes = static_cast<std::uint32_t>(std::count(odd.begin(), odd.end(), 1));
        primes_below.push_back(primes_below.back() + odd_primes + (begin == 0 ? 1 : 0));
    }
    return primes_below[b];
}

} // namespace

std::vector<bool> primality(std::uint64_t first, std::uint64_t last)
{
    const std::uint64_t begin = first / 2 * 2;
    const std::uint64_t end = (last + 2) / 2 * 2;
    const std::vector<char> odd = sieve_odd_numbers(begin, end);
    std::vector<bool> prime;
    for (std::uint64_t n = first; n <= last; ++n) {
        prime.push_back(n == 2 || (n % 2 == 1 && odd[(n - begin) / 2] == 1));
    }
    return prime;
}

std::vector<std::uint32_t> prime_counts(std::uint64_t first, std::uint64_t last)
{
    const std::uint64_t block = first / block_size;
    std::uint32_t count = primes_below_block(block);
    const std::vector<bool> prime = primality(block * block_size, last);
    std::vector<std::uint32_t> counts;
    for (std::uint64_t n = block * block_size; n <= last; ++n) {
        count += prime[n - block * block_size] ? 1 : 0;
        if (n >= first) {
            counts.push_back(count);
        }
    }
    return counts;
}

std::uint32_t prime_count(std::uint64_t n)
{
    return prime_counts(n, n).front();
}

} // namespace sieve
