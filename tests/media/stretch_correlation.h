// How closely any stretch of a looping sound resembles another stretch of it.
#pragma once

#include <cstddef>
#include <vector>

// The highest normalised cross-correlation between a stretch of `stretch` frames
// starting every `hop` frames and a stretch as long at any lag that does not
// overlap it, round the loop point included. Worked on the mono mix averaged over
// blocks of `decimation` frames, which keeps an hour's worth of lags quick.
double highestStretchCorrelation(const std::vector<float>& left, const std::vector<float>& right,
                                 std::size_t stretch, std::size_t hop, std::size_t decimation);
