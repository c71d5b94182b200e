// Placeholder until this part of the generator is written.
#include "generators.h"

void writeSceneModels(const std::string& /*assets*/)
{
}
