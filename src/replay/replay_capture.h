// Which frame a capture time selects and the name of its image.
#pragma once

#include <string>
#include <vector>

// Frames are counted from 1; frame n is rendered after the update that brings the
// simulated time to n × dt. A capture at `time` takes the first frame whose
// simulated time reaches it, so 0 takes frame 1. A time within a millionth of a
// step below n × dt counts as reached: a route time such as 0.3 must select the
// frame it names at dt 0.1, not the next one because of rounding.
long captureFrame(double time, double dt);

// The times 0, step, 2 step, ... that select `frame` by the rule above.
std::vector<double> periodicCaptureTimes(long frame, double step, double dt);

// "t0065.0.png" for 65 seconds: the capture time with one decimal.
std::string captureFileName(double time);

// The default framebuffer's back buffer, as it stands before the swap: RGB,
// three bytes a pixel, the top row first.
std::vector<unsigned char> readBackBuffer(int width, int height);

// Writes the default framebuffer's back buffer, as it stands before the swap, as
// an RGB PNG with the top row first; false when the file cannot be written.
bool writeBackBufferImage(const std::string& path, int width, int height);
