// The base of every class that owns something it releases once: GL objects, a
// sound device, a child process, a temporary folder. A copy would release it
// twice, so copies are refused when the program is compiled.
#pragma once

class NonCopyable {
public:
    NonCopyable(const NonCopyable&) = delete;
    NonCopyable& operator=(const NonCopyable&) = delete;

protected:
    NonCopyable() = default;
    ~NonCopyable() = default;
};
