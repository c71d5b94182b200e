// Each sound is made in a short buffer of its own, scaled so that its loudest
// sample has the sound's loudness, and then placed in the loop. Burning wood is
// noise bursts ringing through a resonance; size changes the burst's length, the
// resonance's pitch and how hard it rings.
#include "media_fire_sounds.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

namespace {

constexpr double pi = std::numbers::pi;

// Two-pole resonance: rings at `hertz`, for about 1 / (pi * bandwidth) seconds.
struct Resonator {
    Resonator(double hertz, double bandwidth)
    {
        const double radius = std::exp(-pi * bandwidth / audioSampleRate);
        feedback1 = static_cast<float>(2.0 * radius * std::cos(2.0 * pi * hertz / audioSampleRate));
        feedback2 = static_cast<float>(-radius * radius);
    }
    float operator()(float input)
    {
        const float output = input + feedback1 * last + feedback2 * beforeLast;
        beforeLast = last;
        last = output;
        return output;
    }
    float feedback1;
    float feedback2;
    float last = 0.0f;
    float beforeLast = 0.0f;
};

std::size_t framesOf(double seconds)
{
    return static_cast<std::size_t>(seconds * audioSampleRate) + 1;
}

double secondsOf(std::size_t frame)
{
    return static_cast<double>(frame) / audioSampleRate;
}

// Scales `sound` so that its loudest sample is 1.
std::vector<float> atUnitPeak(std::vector<float> sound)
{
    float loudest = 0.0f;
    for (const float value : sound)
        loudest = std::max(loudest, std::fabs(value));
    if (loudest > 0.0f)
        for (float& value : sound)
            value /= loudest;
    return sound;
}

// Adds `sound`, scaled so its loudest sample is `loudness`, at `at` with equal-power panning.
void place(StereoLoop& loop, std::size_t at, const std::vector<float>& sound, double loudness, double pan)
{
    const std::vector<float> scaled = atUnitPeak(sound);
    const double angle = (std::clamp(pan, -1.0, 1.0) + 1.0) * pi / 4.0;
    const float left = static_cast<float>(loudness * std::cos(angle));
    const float right = static_cast<float>(loudness * std::sin(angle));
    for (std::size_t i = 0; i < scaled.size(); ++i)
        loop.add(at + i, scaled[i] * left, scaled[i] * right);
}

// A noise burst with an instant rise and an exponential fall, with room after it
// for `ring` seconds of ringing.
std::vector<float> burst(double decay, double ring, MediaRandom& random)
{
    std::vector<float> sound(framesOf(6.0 * decay + ring));
    for (std::size_t i = 0; i < sound.size(); ++i)
        sound[i] = static_cast<float>(random.signedUnit() * std::exp(-secondsOf(i) / decay));
    return sound;
}

std::vector<float> resonated(std::vector<float> sound, double hertz, double bandwidth)
{
    Resonator ring(hertz, bandwidth);
    for (float& value : sound)
        value = ring(value);
    return sound;
}

// `share` of `wet` and the rest of `dry`, each taken at unit peak.
std::vector<float> mixed(const std::vector<float>& dry, const std::vector<float>& wet, double share)
{
    const std::vector<float> a = atUnitPeak(dry);
    const std::vector<float> b = atUnitPeak(wet);
    std::vector<float> sound(std::max(a.size(), b.size()), 0.0f);
    for (std::size_t i = 0; i < sound.size(); ++i)
        sound[i] = static_cast<float>((i < a.size() ? (1.0 - share) * a[i] : 0.0) + (i < b.size() ? share * b[i] : 0.0));
    return sound;
}

} // namespace

void addCrackle(StereoLoop& loop, std::size_t at, double size, double pan, MediaRandom& random)
{
    // Small crackles are short, high and dry; big ones longer, lower and ringing.
    const double decay = 0.00015 + 0.0022 * size * random.range(0.6, 1.4);
    const double pitch = (6500.0 - 4500.0 * size) * random.range(0.7, 1.3);
    const double bandwidth = pitch / random.range(2.0, 7.0);
    const std::vector<float> dry = burst(decay, 3.0 / bandwidth, random);
    place(loop, at, mixed(dry, resonated(dry, pitch, bandwidth), 0.4 + 0.5 * size), 0.03 + 0.4 * size, pan);
}

void addSapPop(StereoLoop& loop, std::size_t at, double loudness, double pan, MediaRandom& random)
{
    // A hard click, the ringing of the split wood, and a short hiss of escaping gas.
    const double pitch = random.range(500.0, 2600.0);
    const double bandwidth = random.range(60.0, 260.0);
    const double hissDecay = random.range(0.012, 0.045);
    const std::size_t frames = framesOf(4.0 / bandwidth + 5.0 * hissDecay);
    const std::size_t click = framesOf(random.range(0.0002, 0.0006));
    const float clickSign = random.uniform() < 0.5 ? -1.0f : 1.0f;
    std::vector<float> strike(frames, 0.0f);
    for (std::size_t i = 0; i < click; ++i)
        strike[i] = clickSign * (1.0f - static_cast<float>(i) / static_cast<float>(click));
    std::vector<float> hiss(frames);
    LowPass hissTone(random.range(2500.0, 6000.0));
    for (std::size_t i = 0; i < frames; ++i)
        hiss[i] = static_cast<float>(hissTone(static_cast<float>(random.signedUnit())) * std::exp(-secondsOf(i) / hissDecay));
    const std::vector<float> body = resonated(strike, pitch, bandwidth);
    const std::vector<float> struck = mixed(strike, body, 0.6);
    place(loop, at, mixed(struck, hiss, 0.2), loudness, pan);
}

void addLogSettling(StereoLoop& loop, std::size_t at, double weight, MediaRandom& random)
{
    const double pan = random.range(-0.4, 0.4);

    // The thud: a low tone that sags as the log comes to rest, over a dull knock.
    const double pitch = random.range(52.0, 85.0);
    const double fall = random.range(0.12, 0.25);
    std::vector<float> tone(framesOf(6.0 * fall));
    std::vector<float> knock(tone.size());
    LowPass knockTone(280.0), knockTone2(280.0);
    double phase = 0.0;
    for (std::size_t i = 0; i < tone.size(); ++i) {
        const double t = secondsOf(i);
        phase += 2.0 * pi * pitch * (0.75 + 0.25 * std::exp(-t / 0.15)) / audioSampleRate;
        tone[i] = static_cast<float>((1.0 - std::exp(-t / 0.004)) * std::exp(-t / fall) * std::sin(phase));
        knock[i] = static_cast<float>(knockTone2(knockTone(static_cast<float>(random.signedUnit()))) * std::exp(-t / 0.03));
    }
    place(loop, at, mixed(tone, knock, 0.35), 0.35 + 0.3 * weight, pan);

    // The rustle: embers and ash sliding, a band of noise that swells and thins out unevenly.
    const double length = random.range(0.4, 1.3);
    std::vector<float> rustle(framesOf(length));
    LowPass upper(random.range(1200.0, 2200.0)), lower(random.range(150.0, 300.0)), grain(25.0);
    for (std::size_t i = 0; i < rustle.size(); ++i) {
        const double t = secondsOf(i) / length;
        const float noise = static_cast<float>(random.signedUnit());
        const double band = upper(noise) - lower(noise);
        const double unevenness = 0.4 + 12.0 * std::fabs(grain(static_cast<float>(random.signedUnit())));
        rustle[i] = static_cast<float>(band * unevenness * std::sin(pi * std::sqrt(t)) * (1.0 - t));
    }
    place(loop, at + framesOf(random.range(0.01, 0.05)), rustle, 0.06 + 0.08 * weight, pan);

    // The scatter: crackles thick at first, thinning over a second or two.
    const int crackles = static_cast<int>(15.0 + 30.0 * weight);
    for (int i = 0; i < crackles; ++i) {
        const double after = 1.5 * std::pow(random.uniform(), 2.0);
        addCrackle(loop, at + framesOf(after), 0.5 * std::pow(random.uniform(), 2.0), pan + random.range(-0.5, 0.5), random);
    }
}

void addEmberTink(StereoLoop& loop, std::size_t at, double loudness, double pan, MediaRandom& random)
{
    const double pitch = random.range(3000.0, 7500.0);
    const double bandwidth = random.range(15.0, 50.0);
    place(loop, at, resonated(burst(0.0002, 4.0 / bandwidth, random), pitch, bandwidth), loudness, pan);
}
