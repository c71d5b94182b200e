// An option's value and its two refusals.
#include "platform/option_value.h"

std::string takeOptionValue(const std::vector<std::string>& args, std::size_t& at, const std::string& expected,
                            const std::function<bool(const std::string&)>& take)
{
    const std::string& option = args[at];
    const bool present = at + 1 < args.size() && !args[at + 1].empty() && !args[at + 1].starts_with("--");
    if (!present)
        return option + " needs a value: " + expected;
    if (!take(args[at + 1]))
        return option + " " + args[at + 1] + ": expected " + expected;
    ++at;
    return {};
}
