#include "core/text.h"

#include <algorithm>
#include <cstring>

namespace {

// Walks a text character by character: an ASCII byte is one character, a byte
// of 0x80 or more leads a two-byte character.
inline std::size_t CharWidth(std::string_view text, std::size_t at) {
  return static_cast<unsigned char>(text[at]) < 0x80 ? 1 : 2;
}

template <bool FromEnd>
int Find(std::string_view text, std::string_view sought) {
  const std::size_t n = sought.size();
  if (n == 0) return text.empty() ? -1 : 1;
  int found = -1;
  std::size_t at = 0;
  std::size_t remaining = text.size();
  while (remaining >= n) {
    if (std::memcmp(text.data() + at, sought.data(), n) == 0) {
      if constexpr (!FromEnd) return static_cast<int>(at + 1);
      found = static_cast<int>(at + 1);
    }
    std::size_t step = CharWidth(text, at);
    if (step == 2 && at + 1 >= text.size()) break;  // a lead byte at the very end
    at += step;
    remaining -= step;
  }
  return found;
}

}  // namespace

int TextLength(std::string_view text) { return static_cast<int>(text.size()); }

Text TextLeft(std::string_view text, int count) {
  if (count <= 0) return {};
  return Text(text.substr(0, std::min<std::size_t>(static_cast<std::size_t>(count), text.size())));
}

Text TextRight(std::string_view text, int count) {
  if (count <= 0) return {};
  std::size_t n = std::min<std::size_t>(static_cast<std::size_t>(count), text.size());
  return Text(text.substr(text.size() - n));
}

Text TextMid(std::string_view text, int start, int count) {
  if (start < 1 || static_cast<std::size_t>(start) > text.size() || count <= 0) return {};
  return Text(text.substr(static_cast<std::size_t>(start - 1), static_cast<std::size_t>(count)));
}

int FindText(std::string_view text, std::string_view sought) { return Find<false>(text, sought); }

int FindTextFromEnd(std::string_view text, std::string_view sought) {
  return Find<true>(text, sought);
}

Text RemoveSpaces(std::string_view text) {
  Text out;
  out.reserve(text.size());
  for (std::size_t at = 0; at < text.size();) {
    unsigned char c = static_cast<unsigned char>(text[at]);
    if (c < 0x80) {
      if (c != 0x20) out.push_back(static_cast<char>(c));
      ++at;
      continue;
    }
    if (at + 1 >= text.size()) break;  // a lone lead byte is dropped
    unsigned char d = static_cast<unsigned char>(text[at + 1]);
    if (!(c == 0xA1 && d == 0xA1)) {  // the ideographic space
      out.push_back(static_cast<char>(c));
      out.push_back(static_cast<char>(d));
    }
    at += 2;
  }
  return out;
}

TextList SplitText(std::string_view text, std::string_view separator) {
  TextList parts;
  if (text.empty()) return parts;
  if (separator.empty()) {
    parts.emplace_back(text);
    return parts;
  }
  const std::size_t n = separator.size();
  std::size_t partStart = 0;
  std::size_t at = 0;
  while (at < text.size()) {
    if (text.size() - at >= n && text.compare(at, n, separator) == 0) {
      parts.emplace_back(text.substr(partStart, at - partStart));
      at += n;
      partStart = at;
      continue;
    }
    std::size_t step = CharWidth(text, at);
    if (step == 2 && at + 1 >= text.size()) break;
    at += step;
  }
  if (partStart < text.size()) parts.emplace_back(text.substr(partStart));
  return parts;
}

int CharCode(std::string_view text, int position) {
  if (position < 1 || static_cast<std::size_t>(position) > text.size()) return 0;
  return static_cast<signed char>(text[static_cast<std::size_t>(position - 1)]);
}

int CompareText(std::string_view a, std::string_view b) {
  // Texts end at their first zero byte, like C strings.
  a = a.substr(0, std::min(a.size(), a.find('\0')));
  b = b.substr(0, std::min(b.size(), b.find('\0')));
  int c = a.compare(b);  // char_traits<char>::compare compares as unsigned char
  return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

Text ConcatText(std::initializer_list<std::string_view> parts) {
  std::size_t total = 0;
  for (auto p : parts) total += p.size();
  Text out;
  out.reserve(total);
  for (auto p : parts) out.append(p);
  return out;
}

ByteArray TextToBytes(std::string_view text) { return ByteArray(text.begin(), text.end()); }

Text BytesToText(std::string_view bytes) { return Text(bytes.substr(0, std::min(bytes.size(), bytes.find('\0')))); }

Text BytesToText(const ByteArray& bytes) {
  auto end = std::find(bytes.begin(), bytes.end(), std::uint8_t{0});
  return Text(bytes.begin(), end);
}
