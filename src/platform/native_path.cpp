// The one place where the program's path separators become the platform's.
#include "platform/native_path.h"

#include <algorithm>

std::string nativePath(std::string_view path)
{
    std::string result(path);
    std::replace(result.begin(), result.end(), '\\', '/');
    return result;
}
