// Text helpers: UTF-8 is the program's text; UTF-16 is only for stream formats that store wide
// strings. Case-insensitive comparison here is ASCII-only, as identifiers and names need.
#pragma once

#include <string>
#include <string_view>

namespace vandrel {

// Invalid input never throws: malformed UTF-8 sequences and unpaired surrogates become U+FFFD.
std::u16string Utf8ToUtf16(std::string_view text);
std::string Utf16ToUtf8(std::u16string_view text);
// Number of code points, counting each malformed byte as one.
size_t Utf8Length(std::string_view text);

char AsciiLower(char c);
char AsciiUpper(char c);
std::string LowerCase(std::string_view text);
std::string UpperCase(std::string_view text);
bool SameText(std::string_view a, std::string_view b);
// <0, 0, >0 like strcmp, ignoring ASCII case.
int CompareText(std::string_view a, std::string_view b);
bool StartsText(std::string_view prefix, std::string_view text);

std::string Trim(std::string_view text);
std::string IntToStr(long long value);

}  // namespace vandrel
