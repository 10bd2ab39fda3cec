#include "trial_division.hpp"

#include <algorithm>
#include <cmath>

#include "tables.hpp"

#if defined(PRIMEPI_SIMD) && defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#define PRIMEPI_X86_KERNELS 1
#include <immintrin.h>
#else
#define PRIMEPI_X86_KERNELS 0
#endif

namespace {

// A kernel answers for c coprime to 30 whether a number coprime to 30 from 7
// up to root = floor(sqrt(c)) divides it.
using kernel_function = bool (*)(std::uint32_t c, std::uint32_t root) noexcept;

// floor(sqrt(c)) for every c below 2^32, perfect squares included: the double
// nearest to sqrt(c) never rounds up across a whole number there. (A float
// would: it gives 65536 for 4294967279.)
std::uint32_t integer_sqrt(std::uint32_t c) noexcept
{
    return static_cast<std::uint32_t>(std::sqrt(static_cast<double>(c)));
}

// The reference: one divisor at a time, over the wheel from 7.
bool scalar_kernel(std::uint32_t c, std::uint32_t root) noexcept
{
    std::uint32_t phase = 0;
    // root is at most 65535, so the divisor never comes near wrapping.
    for (std::uint32_t divisor = 7; divisor <= root; divisor += wheel_steps[phase], phase = (phase + 1) % 8) {
        if (c % divisor == 0) {
            return false;
        }
    }
    return true;
}

#if PRIMEPI_X86_KERNELS
// The vector kernels test the eight divisors of a wheel turn, 30k + 7, 11,
// 13, 17, 19, 23, 29, 31, together, each in two exact ways that run on
// different units of the processor, so they are interleaved where that pays.
//
// Below 2047, in double precision:
// - By division: for c < 2^32 and d < 2^16, c / d is a whole number exactly
//   when d divides c. A remainder leaves the quotient at least 1/d > 2^-16
//   from a whole number, while its rounding error is below 2^32 * 2^-53 =
//   2^-21; an exact quotient is computed exactly.
// - By reciprocal, for d from 19 or 37 on (each kernel says why): from an
//   estimate r of 1/d, q = c * r and corrections q += (c - q * d) * r, each
//   of which multiplies the relative error of q by that of r, bring q within
//   1/2 of c / d; when d divides c, q then rounds to the quotient m, and the
//   remainder c - m * d, exact because m * d < 2^48, is zero exactly when d
//   divides c, whatever m is.
//
// From 2047 on, c / d < 2^32 / 2047 < 2.1 * 10^6 is few enough bits for
// single precision, which tests twice the divisors per instruction, for the
// same cost or less. c itself needs 32 bits, so the estimate q of c / d starts
// from high, the float nearest to c (|c - high| <= 128), and is rounded to a
// whole number m, which is c / d when d divides c and q is within 1/2 of it:
// - By division, two roundings of at most 2^-24 each leave q within
//   2.1 * 10^6 * 2^-23 < 0.26 of c / d.
// - By reciprocal (AVX-512 only): rcp14 is within 2^-14 of 1/d, one
//   correction brings it within 2^-28 before it is rounded, and with the
//   roundings of high and of the product q is within
//   2.1 * 10^6 * 3.2 * 2^-24 < 0.41 of c / d.
// m * d = c then decides, exactly: with a fused multiply-add as
// high - m * d = high - c, both sides whole numbers below 2^24 in magnitude
// (|c - m * d| < d and |high - c| <= 128); without one (SSE2), as m * d = c in
// double precision, where m * d < 2^48 is exact.
//
// Adding and taking away 1.5 * 2^52 (1.5 * 2^23 for a float) rounds a double
// below 2^51 (a float below 2^22) to a whole number, in the default rounding
// mode (which the program never changes) and without -ffast-math (which would
// fold the two away); the kernels use it where it is cheaper than a rounding
// instruction. The shares of division and of reciprocal in each kernel are
// those that ran fastest here. Divisors above the root, in the last turns, are
// masked off. Each kernel is compiled for its own instruction set and only run
// where the processor has it.
constexpr double whole_number_rounding = 0x1.8p52;
constexpr float whole_float_rounding = 0x1.8p23F;
// The first divisor in single precision: the first of a wheel turn, 7 + 68 * 30.
constexpr std::uint32_t single_precision_from = 2047;

// The lanes whose divisor divides c, by division.
__attribute__((target("avx512f"))) __mmask8 avx512_divides(__m512d dividend, __m512d divisors) noexcept
{
    const __m512d quotients = _mm512_div_pd(dividend, divisors);
    const __m512d truncated = _mm512_maskz_roundscale_pd(0xFF, quotients, _MM_FROUND_TO_ZERO | _MM_FROUND_NO_EXC);
    return _mm512_cmp_pd_mask(quotients, truncated, _CMP_EQ_OQ);
}

// The same by reciprocal, for divisors from 37 on: rcp14 is within 2^-14 of
// 1/d, so one correction leaves q within 2^32/d * 2^-28 = 16/d < 1/2 of c / d.
// Adding and taking away 1.5 * 2^52 rounds q to a whole number.
__attribute__((target("avx512f"))) __mmask8 avx512_reciprocal_divides(__m512d dividend, __m512d divisors) noexcept
{
    const __m512d reciprocals = _mm512_maskz_rcp14_pd(0xFF, divisors);
    const __m512d estimates = _mm512_mul_pd(dividend, reciprocals);
    const __m512d corrected = _mm512_fmadd_pd(_mm512_fnmadd_pd(estimates, divisors, dividend), reciprocals, estimates);
    const __m512d rounding = _mm512_set1_pd(whole_number_rounding);
    const __m512d rounded = _mm512_sub_pd(_mm512_add_pd(corrected, rounding), rounding);
    return _mm512_cmp_pd_mask(_mm512_mul_pd(rounded, divisors), dividend, _CMP_EQ_OQ);
}

// The lanes whose divisor divides c, in single precision, by division;
// high_error is high - c.
__attribute__((target("avx512f"))) __mmask16 avx512_single_divides(__m512 high, __m512 high_error,
                                                                   __m512 divisors) noexcept
{
    const __m512 quotients = _mm512_div_ps(high, divisors);
    const __m512 rounded =
        _mm512_maskz_roundscale_ps(0xFFFF, quotients, _MM_FROUND_TO_NEAREST_INT | _MM_FROUND_NO_EXC);
    return _mm512_cmp_ps_mask(_mm512_fnmadd_ps(rounded, divisors, high), high_error, _CMP_EQ_OQ);
}

// The same by reciprocal.
__attribute__((target("avx512f"))) __mmask16 avx512_single_reciprocal_divides(__m512 high, __m512 high_error,
                                                                              __m512 divisors) noexcept
{
    const __m512 estimates = _mm512_maskz_rcp14_ps(0xFFFF, divisors);
    const __m512 reciprocals =
        _mm512_fmadd_ps(estimates, _mm512_fnmadd_ps(divisors, estimates, _mm512_set1_ps(1)), estimates);
    const __m512 rounded = _mm512_maskz_roundscale_ps(0xFFFF, _mm512_mul_ps(high, reciprocals),
                                                      _MM_FROUND_TO_NEAREST_INT | _MM_FROUND_NO_EXC);
    return _mm512_cmp_ps_mask(_mm512_fnmadd_ps(rounded, divisors, high), high_error, _CMP_EQ_OQ);
}

// Below 2047, whole steps of two turns in double precision, the first by
// division and the second by reciprocal, which keeps the divider and the
// multipliers busy at once; then the turns left there, by division, masked.
// From 2047 on, the same in single precision, in steps of four turns.
__attribute__((target("avx512f"))) bool avx512_kernel(std::uint32_t c, std::uint32_t root) noexcept
{
    const __m512d dividend = _mm512_set1_pd(c);
    const __m512d turn = _mm512_set1_pd(30);
    const __m512d step = _mm512_set1_pd(60);
    __m512d first_turn = _mm512_setr_pd(7, 11, 13, 17, 19, 23, 29, 31);
    __m512d second_turn = _mm512_add_pd(first_turn, turn);
    const std::uint32_t double_root = std::min(root, single_precision_from - 1);
    std::uint32_t first = 7;
    for (; first + 54 <= double_root; first += 60) {
        if ((avx512_divides(dividend, first_turn) | avx512_reciprocal_divides(dividend, second_turn)) != 0) {
            return false;
        }
        first_turn = _mm512_add_pd(first_turn, step);
        second_turn = _mm512_add_pd(second_turn, step);
    }
    for (; first <= double_root; first += 30) {
        const __mmask8 in_range = _mm512_cmp_pd_mask(first_turn, _mm512_set1_pd(double_root), _CMP_LE_OQ);
        if ((avx512_divides(dividend, first_turn) & in_range) != 0) {
            return false;
        }
        first_turn = _mm512_add_pd(first_turn, turn);
    }
    if (root < single_precision_from) {
        return true;
    }
    const float high_part = static_cast<float>(c);
    const __m512 high = _mm512_set1_ps(high_part);
    const __m512 high_error = _mm512_set1_ps(static_cast<float>(static_cast<std::int64_t>(high_part) - c));
    const __m512 two_turns = _mm512_set1_ps(60);
    const __m512 single_step = _mm512_set1_ps(120);
    // Two turns in each vector.
    __m512 first_pair = _mm512_add_ps(_mm512_setr_ps(7, 11, 13, 17, 19, 23, 29, 31, 37, 41, 43, 47, 49, 53, 59, 61),
                                      _mm512_set1_ps(single_precision_from - 7));
    __m512 second_pair = _mm512_add_ps(first_pair, two_turns);
    for (first = single_precision_from; first + 114 <= root; first += 120) {
        if ((avx512_single_divides(high, high_error, first_pair) |
             avx512_single_reciprocal_divides(high, high_error, second_pair)) != 0) {
            return false;
        }
        first_pair = _mm512_add_ps(first_pair, single_step);
        second_pair = _mm512_add_ps(second_pair, single_step);
    }
    for (; first <= root; first += 60) {
        const __mmask16 in_range = _mm512_cmp_ps_mask(first_pair, _mm512_set1_ps(static_cast<float>(root)), _CMP_LE_OQ);
        if ((avx512_single_divides(high, high_error, first_pair) & in_range) != 0) {
            return false;
        }
        first_pair = _mm512_add_ps(first_pair, two_turns);
    }
    return true;
}

// The lanes whose divisor divides c, by division: the quotient is whole when
// rounding leaves it as it is.
__attribute__((target("avx2,fma"))) __m256d avx2_divides(__m256d dividend, __m256d divisors) noexcept
{
    const __m256d quotients = _mm256_div_pd(dividend, divisors);
    const __m256d rounding = _mm256_set1_pd(whole_number_rounding);
    return _mm256_cmp_pd(quotients, _mm256_sub_pd(_mm256_add_pd(quotients, rounding), rounding), _CMP_EQ_OQ);
}

// The same by reciprocal, for divisors from 19 on: the float estimate of 1/d
// is within 1.5 * 2^-12, so two corrections leave q within
// 2^32/19 * 2^-34 < 1/2 of c / d.
__attribute__((target("avx2,fma"))) __m256d avx2_reciprocal_divides(__m256d dividend, __m256d divisors) noexcept
{
    const __m256d reciprocals = _mm256_cvtps_pd(_mm_rcp_ps(_mm256_cvtpd_ps(divisors)));
    __m256d estimates = _mm256_mul_pd(dividend, reciprocals);
    estimates = _mm256_fmadd_pd(_mm256_fnmadd_pd(estimates, divisors, dividend), reciprocals, estimates);
    estimates = _mm256_fmadd_pd(_mm256_fnmadd_pd(estimates, divisors, dividend), reciprocals, estimates);
    const __m256d rounded = _mm256_round_pd(estimates, _MM_FROUND_TO_NEAREST_INT | _MM_FROUND_NO_EXC);
    const __m256d remainders = _mm256_fnmadd_pd(rounded, divisors, dividend);
    return _mm256_cmp_pd(remainders, _mm256_setzero_pd(), _CMP_EQ_OQ);
}

// The same in single precision, by division; high_error is high - c. (A
// reciprocal way would need a second correction of the coarser rcp_ps
// estimate here, and division alone runs as fast.)
__attribute__((target("avx2,fma"))) __m256 avx2_single_divides(__m256 high, __m256 high_error, __m256 divisors) noexcept
{
    const __m256 quotients = _mm256_div_ps(high, divisors);
    const __m256 rounded = _mm256_round_ps(quotients, _MM_FROUND_TO_NEAREST_INT | _MM_FROUND_NO_EXC);
    return _mm256_cmp_ps(_mm256_fnmadd_ps(rounded, divisors, high), high_error, _CMP_EQ_OQ);
}

// Below 2047, whole steps of two turns, in four quarters of four divisors:
// three by division and the last (from 49 on) by reciprocal, which is the
// share that keeps the divider and the multipliers busy at once; then the
// turns left there, by division, masked. From 2047 on, single precision, by
// division, in steps of two turns, then the turns left, masked.
__attribute__((target("avx2,fma"))) bool avx2_kernel(std::uint32_t c, std::uint32_t root) noexcept
{
    const __m256d dividend = _mm256_set1_pd(c);
    const __m256d turn = _mm256_set1_pd(30);
    const __m256d step = _mm256_set1_pd(60);
    __m256d quarters[4] = {_mm256_setr_pd(7, 11, 13, 17), _mm256_setr_pd(19, 23, 29, 31),
                           _mm256_setr_pd(37, 41, 43, 47), _mm256_setr_pd(49, 53, 59, 61)};
    const std::uint32_t double_root = std::min(root, single_precision_from - 1);
    std::uint32_t first = 7;
    for (; first + 54 <= double_root; first += 60) {
        const __m256d divides = _mm256_or_pd(
            _mm256_or_pd(avx2_divides(dividend, quarters[0]), avx2_divides(dividend, quarters[1])),
            _mm256_or_pd(avx2_divides(dividend, quarters[2]), avx2_reciprocal_divides(dividend, quarters[3])));
        if (_mm256_movemask_pd(divides) != 0) {
            return false;
        }
        for (__m256d& quarter : quarters) {
            quarter = _mm256_add_pd(quarter, step);
        }
    }
    const __m256d limit = _mm256_set1_pd(double_root);
    for (; first <= double_root; first += 30) {
        const __m256d divides = _mm256_or_pd(
            _mm256_and_pd(avx2_divides(dividend, quarters[0]), _mm256_cmp_pd(quarters[0], limit, _CMP_LE_OQ)),
            _mm256_and_pd(avx2_divides(dividend, quarters[1]), _mm256_cmp_pd(quarters[1], limit, _CMP_LE_OQ)));
        if (_mm256_movemask_pd(divides) != 0) {
            return false;
        }
        quarters[0] = _mm256_add_pd(quarters[0], turn);
        quarters[1] = _mm256_add_pd(quarters[1], turn);
    }
    if (root < single_precision_from) {
        return true;
    }
    const float high_part = static_cast<float>(c);
    const __m256 high = _mm256_set1_ps(high_part);
    const __m256 high_error = _mm256_set1_ps(static_cast<float>(static_cast<std::int64_t>(high_part) - c));
    const __m256 first_turn = _mm256_add_ps(_mm256_setr_ps(7, 11, 13, 17, 19, 23, 29, 31),
                                            _mm256_set1_ps(single_precision_from - 7));
    __m256 turns[2] = {first_turn, _mm256_add_ps(first_turn, _mm256_set1_ps(30))};
    for (first = single_precision_from; first + 54 <= root; first += 60) {
        const __m256 divides = _mm256_or_ps(avx2_single_divides(high, high_error, turns[0]),
                                            avx2_single_divides(high, high_error, turns[1]));
        if (_mm256_movemask_ps(divides) != 0) {
            return false;
        }
        turns[0] = _mm256_add_ps(turns[0], _mm256_set1_ps(60));
        turns[1] = _mm256_add_ps(turns[1], _mm256_set1_ps(60));
    }
    const __m256 single_limit = _mm256_set1_ps(static_cast<float>(root));
    for (; first <= root; first += 30) {
        const __m256 in_range = _mm256_cmp_ps(turns[0], single_limit, _CMP_LE_OQ);
        if (_mm256_movemask_ps(_mm256_and_ps(avx2_single_divides(high, high_error, turns[0]), in_range)) != 0) {
            return false;
        }
        turns[0] = _mm256_add_ps(turns[0], _mm256_set1_ps(30));
    }
    return true;
}

// The lanes whose divisor divides c, by division, as in the AVX2 kernel.
__m128d sse2_divides(__m128d dividend, __m128d divisors) noexcept
{
    const __m128d quotients = _mm_div_pd(dividend, divisors);
    const __m128d rounding = _mm_set1_pd(whole_number_rounding);
    return _mm_cmpeq_pd(quotients, _mm_sub_pd(_mm_add_pd(quotients, rounding), rounding));
}

// The same by reciprocal, for divisors from 19 on, as in the AVX2 kernel but
// with the multiplications and subtractions unfused: c - q * d is then off by
// the rounding of q * d, at most 2^-21, which moves q by a negligible 2^-21 / d;
// m * d (below 2^48) is exact.
__m128d sse2_reciprocal_divides(__m128d dividend, __m128d divisors) noexcept
{
    const __m128d reciprocals = _mm_cvtps_pd(_mm_rcp_ps(_mm_cvtpd_ps(divisors)));
    __m128d estimates = _mm_mul_pd(dividend, reciprocals);
    estimates = _mm_add_pd(estimates, _mm_mul_pd(_mm_sub_pd(dividend, _mm_mul_pd(estimates, divisors)), reciprocals));
    estimates = _mm_add_pd(estimates, _mm_mul_pd(_mm_sub_pd(dividend, _mm_mul_pd(estimates, divisors)), reciprocals));
    const __m128d rounding = _mm_set1_pd(whole_number_rounding);
    const __m128d rounded = _mm_sub_pd(_mm_add_pd(estimates, rounding), rounding);
    return _mm_cmpeq_pd(_mm_mul_pd(rounded, divisors), dividend);
}

// The lanes, of those in range, whose divisor divides c, in single precision,
// by division; dividend is c in double precision.
__m128d sse2_single_divides(__m128 high, __m128d dividend, __m128 divisors, __m128 in_range) noexcept
{
    const __m128 rounding = _mm_set1_ps(whole_float_rounding);
    const __m128 quotients =
        _mm_and_ps(_mm_sub_ps(_mm_add_ps(_mm_div_ps(high, divisors), rounding), rounding), in_range);
    const __m128d low_products = _mm_mul_pd(_mm_cvtps_pd(quotients), _mm_cvtps_pd(divisors));
    const __m128d high_products =
        _mm_mul_pd(_mm_cvtps_pd(_mm_movehl_ps(quotients, quotients)), _mm_cvtps_pd(_mm_movehl_ps(divisors, divisors)));
    return _mm_or_pd(_mm_cmpeq_pd(low_products, dividend), _mm_cmpeq_pd(high_products, dividend));
}

// Below 2047, whole turns in four pairs of divisors: three by division and the
// last (from 29 on) by reciprocal; then the last turn there, if any, by
// division, masked. From 2047 on, single precision, a turn at a time.
bool sse2_kernel(std::uint32_t c, std::uint32_t root) noexcept
{
    const __m128d dividend = _mm_set1_pd(c);
    const __m128d turn = _mm_set1_pd(30);
    __m128d pairs[4] = {_mm_setr_pd(7, 11), _mm_setr_pd(13, 17), _mm_setr_pd(19, 23), _mm_setr_pd(29, 31)};
    const std::uint32_t double_root = std::min(root, single_precision_from - 1);
    std::uint32_t first = 7;
    for (; first + 24 <= double_root; first += 30) {
        const __m128d divides =
            _mm_or_pd(_mm_or_pd(sse2_divides(dividend, pairs[0]), sse2_divides(dividend, pairs[1])),
                      _mm_or_pd(sse2_divides(dividend, pairs[2]), sse2_reciprocal_divides(dividend, pairs[3])));
        if (_mm_movemask_pd(divides) != 0) {
            return false;
        }
        for (__m128d& pair : pairs) {
            pair = _mm_add_pd(pair, turn);
        }
    }
    if (first <= double_root) {
        const __m128d limit = _mm_set1_pd(double_root);
        __m128d divides = _mm_setzero_pd();
        for (const __m128d pair : pairs) {
            divides = _mm_or_pd(divides, _mm_and_pd(sse2_divides(dividend, pair), _mm_cmple_pd(pair, limit)));
        }
        return _mm_movemask_pd(divides) == 0;
    }
    if (root < single_precision_from) {
        return true;
    }
    const __m128 high = _mm_set1_ps(static_cast<float>(c));
    const __m128 all = _mm_castsi128_ps(_mm_set1_epi32(-1));
    const __m128 from = _mm_set1_ps(single_precision_from - 7);
    __m128 halves[2] = {_mm_add_ps(_mm_setr_ps(7, 11, 13, 17), from), _mm_add_ps(_mm_setr_ps(19, 23, 29, 31), from)};
    for (first = single_precision_from; first + 24 <= root; first += 30) {
        const __m128d divides = _mm_or_pd(sse2_single_divides(high, dividend, halves[0], all),
                                          sse2_single_divides(high, dividend, halves[1], all));
        if (_mm_movemask_pd(divides) != 0) {
            return false;
        }
        halves[0] = _mm_add_ps(halves[0], _mm_set1_ps(30));
        halves[1] = _mm_add_ps(halves[1], _mm_set1_ps(30));
    }
    if (first <= root) {
        const __m128 limit = _mm_set1_ps(static_cast<float>(root));
        const __m128d divides =
            _mm_or_pd(sse2_single_divides(high, dividend, halves[0], _mm_cmple_ps(halves[0], limit)),
                      sse2_single_divides(high, dividend, halves[1], _mm_cmple_ps(halves[1], limit)));
        return _mm_movemask_pd(divides) == 0;
    }
    return true;
}
#endif

kernel_function function_of(division_kernel kernel) noexcept
{
    if (!kernel_available(kernel)) {
        return scalar_kernel;
    }
    switch (kernel) {
#if PRIMEPI_X86_KERNELS
    case division_kernel::avx512:
        return avx512_kernel;
    case division_kernel::avx2:
        return avx2_kernel;
    case division_kernel::sse2:
        return sse2_kernel;
#endif
    default:
        return scalar_kernel;
    }
}

} // namespace

bool kernel_available(division_kernel kernel) noexcept
{
#if PRIMEPI_X86_KERNELS
    switch (kernel) {
    case division_kernel::avx512:
        return static_cast<bool>(__builtin_cpu_supports("avx512f"));
    case division_kernel::avx2:
        return static_cast<bool>(__builtin_cpu_supports("avx2")) && static_cast<bool>(__builtin_cpu_supports("fma"));
    case division_kernel::sse2: // every x86-64 processor has it
    case division_kernel::scalar:
        return true;
    }
    return false;
#else
    return kernel == division_kernel::scalar;
#endif
}

division_kernel fastest_kernel() noexcept
{
    if (kernel_available(division_kernel::avx512)) {
        return division_kernel::avx512;
    }
    if (kernel_available(division_kernel::avx2)) {
        return division_kernel::avx2;
    }
    if (kernel_available(division_kernel::sse2)) {
        return division_kernel::sse2;
    }
    return division_kernel::scalar;
}

bool is_wheel_prime_with(division_kernel kernel, std::uint32_t c) noexcept
{
    return function_of(kernel)(c, integer_sqrt(c));
}

bool is_wheel_prime(std::uint32_t c) noexcept
{
    // Chosen on the first call, not before main.
    static const kernel_function fastest = function_of(fastest_kernel());
    return fastest(c, integer_sqrt(c));
}
