// The value of a command-line option that takes one, read the same way by every
// program: a missing value and a value the option will not take are refused in
// the same words everywhere.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

// Hands the word after args[at] to `take`. Returns the refusal, naming the
// option and what its value must be (`expected`), when there is no such word
// (the line's end, an empty word, or one starting with "--", the sign of a
// forgotten value) or when `take` will not have it; returns an empty string
// once the value is taken, with `at` stepped onto it.
std::string takeOptionValue(const std::vector<std::string>& args, std::size_t& at, const std::string& expected,
                            const std::function<bool(const std::string&)>& take);
