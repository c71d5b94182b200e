// Placeholder until this part of the generator is written.
#include "generators.h"

void writeSkyFaces(const std::string& /*assets*/)
{
}
