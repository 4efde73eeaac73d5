#pragma once
// Texts of the program are GBK byte strings. Source files are UTF-8, so every
// non-ASCII literal passes through Gbk() once before it meets program text.
#include <string>
#include <string_view>

// Converts UTF-8 source text to GBK bytes. Characters without a GBK form
// become "?". ASCII passes unchanged.
std::string Gbk(std::string_view utf8);

// The reverse, for diagnostics and tests: GBK bytes to UTF-8.
std::string Utf8FromGbk(std::string_view gbk);

// Hex dump such as "B4 ED CE F3", for byte-exact test messages.
std::string HexBytes(std::string_view bytes);
