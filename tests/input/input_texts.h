// Documents for the input tests.
#pragma once

#include <string>

namespace nv::test {

// `count` bytes of words and line breaks: short lines, so that layouts stay cheap.
inline std::string Filler(int count) {
    static const char pattern[] = "shalom olam\r\n";
    std::string text;
    text.reserve(static_cast<std::size_t>(count));
    for (int at = 0; at < count; ++at) text += pattern[at % (sizeof pattern - 1)];
    return text;
}

// "a\r\n" lines: line k starts at 3k; the last, empty line holds the terminator.
inline std::string ShortLines(int count) {
    std::string text;
    for (int k = 0; k < count; ++k) text += "a\r\n";
    return text;
}

}  // namespace nv::test
