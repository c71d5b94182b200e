// Partials are run as decaying complex rotations, one multiply per sample each,
// which keeps a hundred seconds of music to about a second of synthesis.
#include "media_piano_voice.h"
#include "media_random.h"

#include <algorithm>
#include <cmath>
#include <complex>
#include <numbers>
#include <vector>

namespace {

constexpr double pi = std::numbers::pi;
constexpr double damperTime = 0.09;   // decay constant once the damper is down
constexpr double attackTime = 0.0025; // hammer contact, also keeps onsets click-free

double keyFrequency(int key)
{
    return 440.0 * std::pow(2.0, (key - 69) / 12.0);
}

// The summed partials of the note, before the attack and damper envelope.
std::vector<float> ringStrings(const PianoNote& note, std::size_t length)
{
    const double f0 = keyFrequency(note.key);
    const double inharmonicity = 0.00018;
    const double sustain = std::clamp(2.4 * std::sqrt(262.0 / f0), 0.7, 5.0);
    const int partials = std::clamp(static_cast<int>(7000.0 / f0), 1, 12);
    const double tilt = 1.7 - 0.7 * note.velocity;  // harder strikes are brighter

    std::vector<float> sum(length, 0.0f);
    for (int k = 1; k <= partials; ++k) {
        const double frequency = k * f0 * std::sqrt(1.0 + inharmonicity * k * k);
        const double amplitude = std::pow(static_cast<double>(k), -tilt);
        const double decay = sustain / (1.0 + 0.45 * (k - 1));
        // Two strings a hair apart: one rings long, one fades fast, and they beat.
        const double detune[2] = {1.0 - 0.0004, 1.0 + 0.0004};
        const double stringDecay[2] = {decay, decay * 0.3};
        const double stringShare[2] = {0.55, 0.45};
        for (int s = 0; s < 2; ++s) {
            const double omega = 2.0 * pi * frequency * detune[s] / audioSampleRate;
            const std::complex<double> turn = std::polar(std::exp(-1.0 / (stringDecay[s] * audioSampleRate)), omega);
            std::complex<double> phasor(0.0, amplitude * stringShare[s]);
            for (std::size_t i = 0; i < length; ++i) {
                sum[i] += static_cast<float>(phasor.imag());
                phasor *= turn;
            }
        }
    }
    return sum;
}

} // namespace

void addPianoNote(StereoLoop& loop, const PianoNote& note, std::uint64_t seed)
{
    const double f0 = keyFrequency(note.key);
    const double sustain = std::clamp(2.4 * std::sqrt(262.0 / f0), 0.7, 5.0);
    const double end = std::min(note.damped + 6.0 * damperTime, 7.0 * sustain);
    const std::size_t length = static_cast<std::size_t>(end * audioSampleRate);
    std::vector<float> voice = ringStrings(note, length);

    MediaRandom random(seed);
    float thump = 0.0f;
    for (std::size_t i = 0; i < length; ++i) {
        const double t = static_cast<double>(i) / audioSampleRate;
        // Felt on string: a short low-passed noise burst under the tone.
        thump += 0.25f * (static_cast<float>(random.signedUnit()) - thump);
        const double hammer = 0.08 * note.velocity * std::exp(-t / 0.006);
        double envelope = 1.0 - std::exp(-t / attackTime);
        if (t > note.damped)
            envelope *= std::exp(-(t - note.damped) / damperTime);
        voice[i] = static_cast<float>((voice[i] * envelope + hammer * thump) * note.velocity);
    }

    // Low keys to the left, high keys to the right, as seen from the keyboard.
    const double pan = std::clamp((note.key - 60) / 40.0, -0.6, 0.6);
    const float leftGain = static_cast<float>(std::cos((pan + 1.0) * pi / 4.0));
    const float rightGain = static_cast<float>(std::sin((pan + 1.0) * pi / 4.0));
    const std::size_t first = static_cast<std::size_t>(note.start * audioSampleRate);
    for (std::size_t i = 0; i < length; ++i)
        loop.add(first + i, voice[i] * leftGain, voice[i] * rightGain);
}
