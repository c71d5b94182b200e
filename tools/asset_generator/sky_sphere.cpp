// Placeholder until this part of the generator is written.
#include "generators.h"

void writeSkySphere(const std::string& /*assets*/)
{
}
