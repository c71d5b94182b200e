// Every lag at once: the correlation of one stretch with the whole loop is an FFT
// product, and two stretches share one transform as its real and imaginary
// parts. A stretch's own mean is removed, and each lag is divided by the energy
// of the stretch it meets, read from running sums.
#include "stretch_correlation.h"

#include <algorithm>
#include <cmath>
#include <complex>
#include <numbers>

namespace {

using Spectrum = std::vector<std::complex<double>>;

// The plain product: std::complex's own also sorts out infinities, at several
// times the cost, and nothing here is infinite.
std::complex<double> times(const std::complex<double>& a, const std::complex<double>& b)
{
    return {a.real() * b.real() - a.imag() * b.imag(), a.real() * b.imag() + a.imag() * b.real()};
}

// In-place radix-2 transform; the size is a power of two.
void transform(Spectrum& values, bool inverse)
{
    const std::size_t size = values.size();
    for (std::size_t i = 1, j = 0; i < size; ++i) {
        std::size_t bit = size >> 1;
        for (; j & bit; bit >>= 1)
            j ^= bit;
        j ^= bit;
        if (i < j)
            std::swap(values[i], values[j]);
    }
    for (std::size_t length = 2; length <= size; length <<= 1) {
        const double angle = (inverse ? 2.0 : -2.0) * std::numbers::pi / static_cast<double>(length);
        const std::complex<double> turn(std::cos(angle), std::sin(angle));
        for (std::size_t start = 0; start < size; start += length) {
            std::complex<double> twiddle(1.0, 0.0);
            for (std::size_t k = 0; k < length / 2; ++k) {
                const std::complex<double> even = values[start + k];
                const std::complex<double> odd = times(values[start + k + length / 2], twiddle);
                values[start + k] = even + odd;
                values[start + k + length / 2] = even - odd;
                twiddle = times(twiddle, turn);
            }
        }
    }
    if (inverse)
        for (std::complex<double>& value : values)
            value /= static_cast<double>(size);
}

} // namespace

double highestStretchCorrelation(const std::vector<float>& left, const std::vector<float>& right,
                                 std::size_t stretch, std::size_t hop, std::size_t decimation)
{
    const std::size_t frames = left.size() / decimation;
    const std::size_t length = stretch / decimation;
    const std::size_t step = std::max<std::size_t>(1, hop / decimation);
    if (frames < 2 * length || length == 0)
        return 0.0;

    // The mono mix, decimated, with its first stretch repeated after its end.
    std::vector<double> mix(frames + length);
    for (std::size_t i = 0; i < frames; ++i) {
        double sum = 0.0;
        for (std::size_t k = i * decimation; k < (i + 1) * decimation; ++k)
            sum += left[k] + right[k];
        mix[i] = sum / static_cast<double>(2 * decimation);
    }
    std::copy(mix.begin(), mix.begin() + static_cast<std::ptrdiff_t>(length), mix.begin() + static_cast<std::ptrdiff_t>(frames));

    std::vector<double> sums(mix.size() + 1, 0.0), squares(mix.size() + 1, 0.0);
    for (std::size_t i = 0; i < mix.size(); ++i) {
        sums[i + 1] = sums[i] + mix[i];
        squares[i + 1] = squares[i] + mix[i] * mix[i];
    }
    // One over the spread of the stretch at each lag; zero where it is silent.
    std::vector<double> inverseSpread(frames, 0.0);
    for (std::size_t lag = 0; lag < frames; ++lag) {
        const double sum = sums[lag + length] - sums[lag];
        const double energy = squares[lag + length] - squares[lag] - sum * sum / static_cast<double>(length);
        inverseSpread[lag] = energy > 1e-12 ? 1.0 / std::sqrt(energy) : 0.0;
    }

    std::size_t size = 1;
    while (size < mix.size())
        size <<= 1;
    Spectrum whole(size);
    std::copy(mix.begin(), mix.end(), whole.begin());
    transform(whole, false);

    double highest = 0.0;
    std::vector<std::size_t> starts;
    for (std::size_t start = 0; start < frames; start += step)
        starts.push_back(start);
    Spectrum both(size);
    for (std::size_t pair = 0; pair < starts.size(); pair += 2) {
        const std::size_t count = std::min<std::size_t>(2, starts.size() - pair);
        std::fill(both.begin(), both.end(), std::complex<double>(0.0, 0.0));
        double norms[2] = {0.0, 0.0};
        for (std::size_t n = 0; n < count; ++n) {
            const std::size_t start = starts[pair + n];
            const double mean = (sums[start + length] - sums[start]) / static_cast<double>(length);
            for (std::size_t i = 0; i < length; ++i) {
                const double value = mix[start + i] - mean;
                both[i] += n == 0 ? std::complex<double>(value, 0.0) : std::complex<double>(0.0, value);
                norms[n] += value * value;
            }
        }
        transform(both, false);
        for (std::size_t k = 0; k < size; ++k)
            both[k] = times(whole[k], std::conj(both[k]));
        transform(both, true);
        for (std::size_t n = 0; n < count; ++n) {
            if (norms[n] <= 1e-12)
                continue;
            const std::size_t start = starts[pair + n];
            const double inverseNorm = 1.0 / std::sqrt(norms[n]);
            for (std::size_t lag = 0; lag < frames; ++lag) {
                const std::size_t apart = lag > start ? lag - start : start - lag;
                if (std::min(apart, frames - apart) < length)
                    continue;
                const double product = n == 0 ? both[lag].real() : -both[lag].imag();
                highest = std::max(highest, product * inverseNorm * inverseSpread[lag]);
            }
        }
    }
    return highest;
}
