// Placeholder until this part of the generator is written.
#include "generators.h"

void writeSounds(const std::string& /*assets*/)
{
}
