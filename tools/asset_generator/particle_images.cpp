// Placeholder until this part of the generator is written.
#include "generators.h"

void writeParticleImages(const std::string& /*assets*/)
{
}
