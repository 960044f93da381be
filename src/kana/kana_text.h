#pragma once

#include <string>
#include <string_view>

namespace kestrum {

// Kana are handled as code points, shown and stored as UTF-8.
std::string toUtf8(std::u32string_view text);
std::u32string toUtf32(std::string_view utf8);

}  // namespace kestrum
