// The program's own lines on standard error. Each line is put together first
// and written in one call, so that no other thread's output cuts into it.
#include "platform/report_line.h"

#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <string>

const char* programName()
{
    return program_invocation_short_name;
}

void reportLine(const char* format, ...)
{
    va_list arguments;
    va_start(arguments, format);
    va_list measuring;
    va_copy(measuring, arguments);
    const int length = std::vsnprintf(nullptr, 0, format, measuring);
    va_end(measuring);
    std::string text(static_cast<std::size_t>(length > 0 ? length : 0), '\0');
    std::vsnprintf(text.data(), text.size() + 1, format, arguments);
    va_end(arguments);
    const std::string line = std::string(programName()) + ": " + text + "\n";
    std::fputs(line.c_str(), stderr);
}
