// Numbers read from command-line text: the whole text must be the number.
#pragma once

#include <charconv>
#include <cstddef>
#include <optional>
#include <string_view>

// The value of `text` in base 10, or nullopt when it is empty, malformed, out
// of range or followed by anything.
template <typename Number>
std::optional<Number> parseNumber(std::string_view text)
{
    Number value{};
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (text.empty() || error != std::errc() || stop != end)
        return std::nullopt;
    return value;
}

// A whole number above zero.
inline std::optional<int> parsePositiveInt(std::string_view text)
{
    const std::optional<int> value = parseNumber<int>(text);
    if (!value || *value <= 0)
        return std::nullopt;
    return value;
}

struct SizeText {
    int width = 0;
    int height = 0;
};

// A window size written "WxH", both positive.
inline std::optional<SizeText> parseSizeText(std::string_view text)
{
    const std::size_t cross = text.find('x');
    if (cross == std::string_view::npos)
        return std::nullopt;
    const std::optional<int> width = parsePositiveInt(text.substr(0, cross));
    const std::optional<int> height = parsePositiveInt(text.substr(cross + 1));
    if (!width || !height)
        return std::nullopt;
    return SizeText{*width, *height};
}
