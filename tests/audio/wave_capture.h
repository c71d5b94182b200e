// Reading what OpenAL Soft's wave-writer back end recorded, and measuring how
// loud a given tone is in a stretch of it.
#pragma once

#include <string>
#include <vector>

struct WaveCapture {
    int rate = 0;
    std::vector<float> left;   // the first channel, -1..1
    bool finished = false;     // the writer was closed: the data size is set and fits the file
};

// Reads a 16-bit PCM RIFF file; empty when it is missing or of another format.
WaveCapture readWaveCapture(const std::string& path);

// Amplitude (0..1) of the sine at `frequency` in samples [begin, begin + count),
// by a Goertzel filter.
double toneAmplitude(const WaveCapture& capture, double frequency, std::size_t begin, std::size_t count);

// The first sample of the first 10 ms window in which the tone reaches
// `amplitude`, or the capture's length when it never does.
std::size_t toneOnset(const WaveCapture& capture, double frequency, double amplitude);
