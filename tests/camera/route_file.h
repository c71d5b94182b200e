// A working directory of its own holding a route file, for the cases that read
// "Assets/scene/curve-controlpoints-handles.txt" relative to the working directory.
#pragma once

#include "platform/non_copyable.h"
#include "support/process.h"

#include <filesystem>
#include <string>
#include <vector>

class RouteDirectory : NonCopyable {
public:
    // `text` is written as the route file; nullptr leaves the directory without one.
    explicit RouteDirectory(const char* text)
        : previous(std::filesystem::current_path())
    {
        if (text != nullptr) {
            std::filesystem::create_directories(std::filesystem::path(dir.path) / "Assets" / "scene");
            writeFile(dir.path + "/Assets/scene/curve-controlpoints-handles.txt", text);
        }
        std::filesystem::current_path(dir.path);
    }
    ~RouteDirectory() { std::filesystem::current_path(previous); }

private:
    TempDir dir;
    std::filesystem::path previous;
};

// One number per line: `count` numbers 1, 2, 3, ... each followed by a line feed.
inline std::string countingNumbers(int count)
{
    std::string text;
    for (int i = 1; i <= count; ++i)
        text += std::to_string(i) + "\n";
    return text;
}
