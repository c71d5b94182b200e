// Placeholder until this part of the generator is written.
#include "generators.h"

void writeCameraRoute(const std::string& /*assets*/)
{
}
