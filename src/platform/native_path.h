// Paths as the program names them use '\' as a separator; on POSIX that is an
// ordinary file-name character, so every file open goes through nativePath().
// Messages keep printing the path as written.
#pragma once

#include <string>
#include <string_view>

std::string nativePath(std::string_view path);
