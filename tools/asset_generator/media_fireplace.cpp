// Under everything a low roar that breathes slowly, the flutter of the flames and
// a faint hiss; over it crackles whose number rises and falls, sap pops, now and
// then a log settling, after which the fire flares up for a while. Every part is
// drawn afresh from the random stream, so no stretch repeats another; noise is
// filtered round the loop, the slow curves are periodic and single sounds wrap
// past the end, so the loop repeats without a seam.
#include "media_fireplace.h"
#include "media_fire_sounds.h"
#include "media_random.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

namespace {

constexpr double loopSeconds = 192.0;
constexpr double fireLevel = 0.065;    // RMS, -23.7 dBFS: 4.2 dB under the music, as the room hears a fire
constexpr float peakCeiling = 0.84f;

// Calls `use(frame, filter(frame))` for every frame of the loop, the filter having
// first run over the loop's last tenth of a second: filters whose memory is a few
// milliseconds then start in the state the loop's end leaves, and the join is exact.
template <typename Filter, typename Use>
void runRoundLoop(std::size_t frames, Filter filter, Use use)
{
    for (std::size_t i = frames - audioSampleRate / 10; i < frames; ++i)
        filter(i);
    for (std::size_t i = 0; i < frames; ++i)
        use(i, filter(i));
}

// A smooth random curve around 1 that repeats every loop: random knots joined by
// smooth steps, one every `spacing` seconds, the last knot joining the first.
class LoopedSwell {
public:
    LoopedSwell(double spacing, double depth, MediaRandom& random)
    {
        const int knots = std::max(2, static_cast<int>(std::lround(loopSeconds / spacing)));
        for (int i = 0; i < knots; ++i)
            values.push_back(static_cast<float>(1.0 + depth * random.signedUnit()));
    }
    float at(std::size_t frame, std::size_t frames) const
    {
        const double position = static_cast<double>(frame % frames) / frames * values.size();
        const std::size_t knot = static_cast<std::size_t>(position);
        const double along = position - static_cast<double>(knot);
        const double blend = along * along * (3.0 - 2.0 * along);
        return static_cast<float>(values[knot % values.size()] * (1.0 - blend) + values[(knot + 1) % values.size()] * blend);
    }

private:
    std::vector<float> values;
};

std::size_t frameOf(double seconds)
{
    return static_cast<std::size_t>(seconds * audioSampleRate);
}

// How much the fire flares after each log settles: up within a second, back over
// several, as a share added to the roar and the crackling.
std::vector<float> flareAfterSettling(const std::vector<double>& settlings, std::size_t frames)
{
    std::vector<float> flare(frames, 0.0f);
    const double rise = std::exp(-1.0 / (0.6 * audioSampleRate));
    const double fall = std::exp(-1.0 / (5.0 * audioSampleRate));
    const std::size_t length = frameOf(25.0);
    for (const double at : settlings) {
        const std::size_t first = frameOf(at);
        double rising = 1.0;
        double falling = 1.0;
        for (std::size_t i = 0; i < length; ++i) {
            flare[(first + i) % frames] += static_cast<float>((1.0 - rising) * falling);
            rising *= rise;
            falling *= fall;
        }
    }
    return flare;
}

// The roar, shared by both channels but for a little of each side's own, and the
// flutter of the flames a few octaves up; both breathe with two slow curves.
void addRoar(StereoLoop& loop, const std::vector<float>& flare, MediaRandom& random)
{
    const std::uint64_t common = random.next(), left = random.next(), right = random.next(), flutter = random.next();
    const LoopedSwell breath(6.0, 0.4, random);
    const LoopedSwell tide(24.0, 0.25, random);
    const LoopedSwell flicker(0.35, 0.15, random);
    struct Rumble {
        LowPass first{90.0}, second{140.0};
        float operator()(float noise) { return second(first(noise)); }
    };
    Rumble middle, leftSide, rightSide;
    LowPass flutterHigh(700.0), flutterLow(250.0);
    struct Sample { float middle, left, right, flames; };
    const std::size_t frames = loop.frames();
    runRoundLoop(frames, [&](std::size_t i) {
        const float flames = MediaRandom::noiseAt(flutter, i);
        return Sample{middle(MediaRandom::noiseAt(common, i)), leftSide(MediaRandom::noiseAt(left, i)),
                      rightSide(MediaRandom::noiseAt(right, i)), flutterHigh(flames) - flutterLow(flames)};
    }, [&](std::size_t i, const Sample& sample) {
        const float breathing = breath.at(i, frames) * tide.at(i, frames) * (1.0f + 0.6f * flare[i]);
        const float roar = 1.1f * breathing;
        const float flames = 0.3f * breathing * breathing * flicker.at(i, frames) * sample.flames;
        loop.left[i] += roar * (0.85f * sample.middle + 0.3f * sample.left) + flames;
        loop.right[i] += roar * (0.85f * sample.middle + 0.3f * sample.right) + flames;
    });
}

void addHiss(std::vector<float>& channel, MediaRandom& random)
{
    const std::uint64_t seed = random.next();
    const LoopedSwell swell(1.5, 0.6, random);
    LowPass high(9000.0), low(1800.0);
    runRoundLoop(channel.size(), [&](std::size_t i) {
        const float noise = MediaRandom::noiseAt(seed, i);
        return high(noise) - low(noise);
    }, [&](std::size_t i, float hiss) { channel[i] += 0.05f * hiss * swell.at(i, channel.size()); });
}

// Waiting times of a Poisson process whose rate follows `rate(frame)`.
template <typename Rate, typename Sound>
void scatter(std::size_t frames, Rate rate, Sound sound, MediaRandom& random)
{
    double t = random.range(0.0, 0.5);
    while (t < loopSeconds) {
        sound(frameOf(t));
        t += -std::log(1.0 - random.uniform()) / rate(frameOf(t) % frames);
    }
}

} // namespace

StereoLoop crackleFireplace()
{
    StereoLoop loop(frameOf(loopSeconds));
    const std::size_t frames = loop.frames();
    MediaRandom random(0x46495245ull);

    std::vector<double> settlings;
    for (double t = random.range(8.0, 20.0); t < loopSeconds; t += random.range(22.0, 40.0))
        settlings.push_back(t);
    const std::vector<float> flare = flareAfterSettling(settlings, frames);

    addRoar(loop, flare, random);
    addHiss(loop.left, random);
    addHiss(loop.right, random);

    // The crackling comes and goes: a slow curve, squared for contrast, and the flares.
    const LoopedSwell liveliness(2.5, 0.7, random);
    const auto activity = [&](std::size_t frame) {
        const double swell = std::max(0.25f, liveliness.at(frame, frames));
        return swell * swell * (1.0 + 2.0 * flare[frame]);
    };
    // Most crackles are faint ticks; some come as a fizzing cluster.
    scatter(frames, [&](std::size_t frame) { return 7.0 * activity(frame); }, [&](std::size_t at) {
        const double size = std::pow(random.uniform(), 3.0);
        const double pan = random.range(-0.7, 0.7);
        addCrackle(loop, at, size, pan, random);
        if (random.uniform() < 0.2) {
            std::size_t next = at;
            const int cluster = 3 + static_cast<int>(random.uniform() * 7.0);
            for (int i = 0; i < cluster; ++i) {
                next += frameOf(random.range(0.004, 0.03));
                addCrackle(loop, next, size * random.range(0.2, 0.6), pan + random.range(-0.15, 0.15), random);
            }
        }
    }, random);
    // Pops: loud ones rare, some followed by smaller ones as the pocket splits further.
    scatter(frames, [&](std::size_t frame) { return 0.3 * std::sqrt(activity(frame)); }, [&](std::size_t at) {
        const double loudness = 0.2 + 0.8 * std::pow(random.uniform(), 3.0);
        const double pan = random.range(-0.6, 0.6);
        addSapPop(loop, at, loudness, pan, random);
        const int followers = static_cast<int>(random.uniform() * 3.5);
        for (int f = 0; f < followers; ++f)
            addSapPop(loop, at + frameOf(random.range(0.03, 0.15) * (f + 1)), loudness * random.range(0.2, 0.5),
                      pan + random.range(-0.2, 0.2), random);
    }, random);
    // Embers tink as they cool, now and then and more after a log has settled.
    scatter(frames, [](std::size_t) { return 0.08; }, [&](std::size_t at) {
        addEmberTink(loop, at, random.range(0.02, 0.06), random.range(-0.7, 0.7), random);
    }, random);
    for (const double at : settlings) {
        addLogSettling(loop, frameOf(at), random.range(0.4, 1.0), random);
        const int tinks = 2 + static_cast<int>(random.uniform() * 4.0);
        for (int i = 0; i < tinks; ++i)
            addEmberTink(loop, frameOf(at + random.range(1.0, 6.0)), random.range(0.02, 0.05), random.range(-0.6, 0.6), random);
    }

    setLoopLevel(loop, fireLevel);
    limitLoopPeaks(loop, peakCeiling);
    return loop;
}
