#pragma once

#include <QString>

#include <string>
#include <string_view>

namespace kestrum {

// Text as the program's files hold it: 8-bit Shift-JIS (code page 932) bytes. Lengths are byte
// counts and comparisons are byte-wise; conversion to Unicode happens only at the edges.
using Bytes = std::string;

// True for a byte that starts a double-byte character in code page 932.
bool isLeadByte(unsigned char byte);

QString fromCp932(std::string_view bytes);
// Characters that code page 932 cannot hold become NUL bytes, which no rule accepts. The forms
// that input methods here type for 〜 − ‖ — ¢ £ ¬ take the bytes Windows gives them.
Bytes toCp932(const QString& text);

inline constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";

// A text file written by hand, as code page 932. Editors on this system save UTF-8: a file that
// starts with a UTF-8 byte-order mark, or holds bytes above 127 and is valid UTF-8 throughout,
// is converted (without the mark; characters code page 932 lacks become NUL bytes). Anything
// else is taken as code page 932 already and returned unchanged. Japanese in code page 932 is
// never valid UTF-8 in practice: its lead bytes 0x81-0x9F and its half-width kana cannot start
// a UTF-8 character.
Bytes textFileToCp932(std::string_view bytes);

// Folds ASCII capitals only; the bytes of a double-byte character are left alone.
constexpr unsigned char asciiLower(unsigned char byte) {
    return byte >= 'A' && byte <= 'Z' ? static_cast<unsigned char>(byte - 'A' + 'a') : byte;
}

// UTF-8 literals of the source (the program's own Japanese texts) to code page 932 and back.
Bytes utf8ToCp932(std::string_view utf8);
std::string cp932ToUtf8(std::string_view bytes);

}  // namespace kestrum
