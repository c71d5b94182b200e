// The middle of a set of measurements, such as frame times.
#pragma once

#include <vector>

// The middle value (the mean of the two middle ones for an even count); 0 for none.
double median(std::vector<double> values);
