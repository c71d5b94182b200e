// Noise is filtered round the loop and pops wrap past the end, so the crackle
// repeats without a seam; slow swells come from a periodic random curve.
#include "media_fireplace.h"
#include "media_random.h"

#include <cmath>
#include <numbers>
#include <vector>

namespace {

constexpr double loopSeconds = 20.0;
constexpr double pi = std::numbers::pi;

std::vector<float> whiteNoise(std::size_t frames, MediaRandom& random)
{
    std::vector<float> noise(frames);
    for (float& value : noise)
        value = static_cast<float>(random.signedUnit());
    return noise;
}

// One-pole low pass with the given corner frequency.
struct LowPass {
    explicit LowPass(double hertz) : share(static_cast<float>(1.0 - std::exp(-2.0 * pi * hertz / audioSampleRate))) {}
    float operator()(float input) { return state += share * (input - state); }
    float share;
    float state = 0.0f;
};

// A smooth random curve around 1 that repeats every loop: cosine-interpolated
// random knots, the last knot joining the first.
class LoopedSwell {
public:
    LoopedSwell(int knots, double depth, MediaRandom& random)
    {
        for (int i = 0; i < knots; ++i)
            values.push_back(static_cast<float>(1.0 + depth * random.signedUnit()));
    }
    float at(std::size_t frame, std::size_t frames) const
    {
        const double position = static_cast<double>(frame) / frames * values.size();
        const std::size_t knot = static_cast<std::size_t>(position);
        const double blend = 0.5 - 0.5 * std::cos((position - knot) * pi);
        return static_cast<float>(values[knot % values.size()] * (1.0 - blend) + values[(knot + 1) % values.size()] * blend);
    }

private:
    std::vector<float> values;
};

void addRumble(StereoLoop& loop, MediaRandom& random)
{
    std::vector<float> common = whiteNoise(loop.frames(), random);
    filterLooped(common, LowPass(90.0));
    filterLooped(common, LowPass(140.0));
    const LoopedSwell swell(40, 0.45, random);
    for (std::size_t i = 0; i < loop.frames(); ++i) {
        const float value = 1.2f * common[i] * swell.at(i, loop.frames());
        loop.left[i] += value;
        loop.right[i] += value;
    }
}

void addHiss(std::vector<float>& channel, MediaRandom& random)
{
    std::vector<float> noise = whiteNoise(channel.size(), random);
    std::vector<float> low = noise;
    filterLooped(low, LowPass(1800.0));
    filterLooped(noise, LowPass(9000.0));
    const LoopedSwell swell(120, 0.6, random);
    for (std::size_t i = 0; i < channel.size(); ++i)
        channel[i] += 0.08f * (noise[i] - low[i]) * swell.at(i, channel.size());
}

// One pop: a ringing tick over a noise burst, both dying in a few milliseconds.
void addPop(StereoLoop& loop, std::size_t at, double loudness, MediaRandom& random)
{
    const double ring = random.range(700.0, 4200.0);
    const double decay = random.range(0.0006, 0.0035);
    const double pan = random.range(-0.6, 0.6);
    const float leftGain = static_cast<float>(std::cos((pan + 1.0) * pi / 4.0));
    const float rightGain = static_cast<float>(std::sin((pan + 1.0) * pi / 4.0));
    const std::size_t length = static_cast<std::size_t>(8.0 * decay * audioSampleRate) + 1;
    for (std::size_t i = 0; i < length; ++i) {
        const double t = static_cast<double>(i) / audioSampleRate;
        const double envelope = loudness * std::exp(-t / decay) * (1.0 - std::exp(-t / 0.00015));
        const double value = envelope * (0.6 * std::sin(2.0 * pi * ring * t) + 0.5 * random.signedUnit());
        loop.add(at + i, static_cast<float>(value * leftGain), static_cast<float>(value * rightGain));
    }
}

// Pops scattered at random times: many faint ticks, fewer loud snaps, some in bursts.
void addPops(StereoLoop& loop, MediaRandom& random)
{
    const double frames = static_cast<double>(loop.frames());
    const int ticks = static_cast<int>(loopSeconds * 14.0);
    for (int i = 0; i < ticks; ++i)
        addPop(loop, static_cast<std::size_t>(random.uniform() * frames), random.range(0.03, 0.12), random);
    const int snaps = static_cast<int>(loopSeconds * 1.6);
    for (int i = 0; i < snaps; ++i) {
        const std::size_t at = static_cast<std::size_t>(random.uniform() * frames);
        const double loudness = 0.25 + 0.55 * std::pow(random.uniform(), 2.0);
        addPop(loop, at, loudness, random);
        const int followers = static_cast<int>(random.uniform() * 4.0);
        for (int f = 0; f < followers; ++f) {
            const std::size_t gap = static_cast<std::size_t>(random.range(0.01, 0.12) * audioSampleRate);
            addPop(loop, at + gap * (f + 1), loudness * random.range(0.2, 0.6), random);
        }
    }
}

} // namespace

StereoLoop crackleFireplace()
{
    StereoLoop loop(static_cast<std::size_t>(loopSeconds * audioSampleRate));
    MediaRandom random(0x46495245ull);
    addRumble(loop, random);
    addHiss(loop.left, random);
    addHiss(loop.right, random);
    addPops(loop, random);
    normaliseLoop(loop, 0.8f);
    return loop;
}
