// The reverb's state after one lap over the loop is exactly what precedes the
// loop's start when it repeats, so the kept second lap is seamless.
#include "media_loop_reverb.h"

#include <array>
#include <vector>

namespace {

class DelayLine {
public:
    explicit DelayLine(int length) : buffer(static_cast<std::size_t>(length), 0.0f) {}
    float read() const { return buffer[position]; }
    void write(float value)
    {
        buffer[position] = value;
        position = (position + 1) % buffer.size();
    }

private:
    std::vector<float> buffer;
    std::size_t position = 0;
};

class CombFilter {
public:
    explicit CombFilter(int length) : line(length) {}
    float step(float input)
    {
        const float output = line.read();
        damped = output * 0.7f + damped * 0.3f;
        line.write(input + damped * 0.82f);
        return output;
    }

private:
    DelayLine line;
    float damped = 0.0f;
};

class AllPass {
public:
    explicit AllPass(int length) : line(length) {}
    float step(float input)
    {
        const float delayed = line.read();
        line.write(input + delayed * 0.5f);
        return delayed - input;
    }

private:
    DelayLine line;
};

class Reverb {
public:
    explicit Reverb(int spread)
        : combs{CombFilter(1557 + spread), CombFilter(1617 + spread), CombFilter(1491 + spread),
                CombFilter(1422 + spread), CombFilter(1277 + spread), CombFilter(1356 + spread)},
          allPasses{AllPass(556 + spread), AllPass(441 + spread), AllPass(341 + spread)}
    {
    }
    float operator()(float input)
    {
        float sum = 0.0f;
        for (CombFilter& comb : combs)
            sum += comb.step(input * 0.15f);
        for (AllPass& pass : allPasses)
            sum = pass.step(sum);
        return sum;
    }

private:
    std::array<CombFilter, 6> combs;
    std::array<AllPass, 3> allPasses;
};

void reverbChannel(std::vector<float>& samples, int spread, float wet)
{
    std::vector<float> tail = samples;
    filterLooped(tail, Reverb(spread));
    for (std::size_t i = 0; i < samples.size(); ++i)
        samples[i] += wet * tail[i];
}

} // namespace

void addLoopReverb(StereoLoop& loop, float wet)
{
    reverbChannel(loop.left, 0, wet);
    reverbChannel(loop.right, 23, wet);
}
