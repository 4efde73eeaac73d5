#pragma once
// Text services over GBK byte strings. Lengths, counts and positions are in
// bytes, positions are 1-based and a failed search gives -1. Cutting counts
// bytes and may split a two-byte character; searching, splitting and space
// removal step over a two-byte character as one unit.
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

using Text = std::string;
using TextList = std::vector<std::string>;  // indexed from 1 through At()
using ByteArray = std::vector<std::uint8_t>;

int TextLength(std::string_view text);
Text TextLeft(std::string_view text, int count);
Text TextRight(std::string_view text, int count);
Text TextMid(std::string_view text, int start, int count);
int FindText(std::string_view text, std::string_view sought);
int FindTextFromEnd(std::string_view text, std::string_view sought);
Text RemoveSpaces(std::string_view text);
TextList SplitText(std::string_view text, std::string_view separator);
int CharCode(std::string_view text, int position);
int CompareText(std::string_view a, std::string_view b);
Text ConcatText(std::initializer_list<std::string_view> parts);
ByteArray TextToBytes(std::string_view text);
Text BytesToText(const ByteArray& bytes);
Text BytesToText(std::string_view bytes);
