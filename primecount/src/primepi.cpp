#include "primepi.hpp"

#include "tables.hpp"
#include "trial_division.hpp"

namespace {

// The only prime between the last checkpoint, 4294967280, and 2^32.
constexpr std::uint32_t largest_32bit_prime = 4294967291;

// The coarse stride of the checkpoint search; the last index, 1040, is a
// multiple of it, so the coarse stage ends on the table's last entry at most.
constexpr std::size_t search_stride = 40;
static_assert((checkpoint_count - 1) % search_stride == 0);

// The index of the last checkpoint whose point is not above n, for
// 30 <= n < checkpoint_table.back().point: strides of 40 up to the first point
// not below n, then single steps back (at most 40).
std::size_t last_checkpoint_not_above(std::uint32_t n) noexcept
{
    std::size_t k = search_stride;
    while (checkpoint_table[k].point < n) {
        k += search_stride;
    }
    while (checkpoint_table[k].point > n) {
        --k;
    }
    return k;
}

// The count at n, from lo's count plus the primes in (lo.point, n].
// The candidates are lo + 1, lo + 7, lo + 11, ..., the wheel from residue 1.
std::uint32_t walk_up(checkpoint lo, std::uint32_t n) noexcept
{
    std::uint32_t count = lo.count;
    std::uint32_t phase = 7;
    for (std::uint32_t c = lo.point + 1; c <= n; c += wheel_steps[phase], phase = (phase + 1) % 8) {
        count += is_wheel_prime(c) ? 1 : 0;
    }
    return count;
}

// The count at n, from hi's count less the primes in (n, hi.point).
// The candidates are hi - 1, hi - 7, hi - 11, ..., the wheel backwards from
// residue 29, whose backward step is that of phase 5.
std::uint32_t walk_down(checkpoint hi, std::uint32_t n) noexcept
{
    std::uint32_t count = hi.count;
    std::uint32_t phase = 5;
    for (std::uint32_t c = hi.point - 1; c > n; c -= wheel_steps[phase], phase = (phase + 7) % 8) {
        count -= is_wheel_prime(c) ? 1 : 0;
    }
    return count;
}

} // namespace

std::uint32_t primepi(std::uint32_t n) noexcept
{
    if (n < small_counts.size()) {
        return small_counts[n];
    }
    const checkpoint last = checkpoint_table.back();
    if (n >= last.point) {
        return last.count + (n >= largest_32bit_prime ? 1 : 0);
    }

    const std::size_t k = last_checkpoint_not_above(n);
    const checkpoint lo = checkpoint_table[k];
    const checkpoint hi = checkpoint_table[k + 1];
    if (n == lo.point) {
        return lo.count;
    }
    // lo.point + hi.point needs 33 bits from the middle of the range on.
    const std::uint32_t mid = lo.point + (hi.point - lo.point) / 2;
    return n <= mid ? walk_up(lo, n) : walk_down(hi, n);
}
