#include "core/gbk.h"

#include <cerrno>
#include <cstdio>

#ifdef _WIN32
#include <windows.h>
#else
#include <iconv.h>
#endif

namespace {

#ifdef _WIN32
constexpr UINT kGbkCodePage = 936;

std::string Convert(std::string_view in, UINT from, UINT to) {
  if (in.empty()) return {};
  int wide = MultiByteToWideChar(from, 0, in.data(), static_cast<int>(in.size()), nullptr, 0);
  std::wstring w(static_cast<size_t>(wide), L'\0');
  MultiByteToWideChar(from, 0, in.data(), static_cast<int>(in.size()), w.data(), wide);
  int bytes = WideCharToMultiByte(to, 0, w.data(), wide, nullptr, 0, "?", nullptr);
  std::string out(static_cast<size_t>(bytes), '\0');
  WideCharToMultiByte(to, 0, w.data(), wide, out.data(), bytes, "?", nullptr);
  return out;
}
#else
// iconv converts one character at a time here so that a character without a
// form in the target set becomes "?" instead of ending the conversion.
std::string Convert(std::string_view in, const char* from, const char* to) {
  std::string out;
  iconv_t cd = iconv_open(to, from);
  if (cd == reinterpret_cast<iconv_t>(-1)) return std::string(in);
  out.reserve(in.size());
  char* src = const_cast<char*>(in.data());
  size_t left = in.size();
  char buffer[256];
  while (left > 0) {
    char* dst = buffer;
    size_t room = sizeof buffer;
    size_t r = iconv(cd, &src, &left, &dst, &room);
    out.append(buffer, static_cast<size_t>(dst - buffer));
    if (r == static_cast<size_t>(-1)) {
      if (errno == E2BIG) continue;
      // Invalid or unconvertible input: skip one byte and mark it.
      out.push_back('?');
      ++src;
      --left;
      iconv(cd, nullptr, nullptr, nullptr, nullptr);
    }
  }
  iconv_close(cd);
  return out;
}
#endif

}  // namespace

std::string Gbk(std::string_view utf8) {
  bool ascii = true;
  for (unsigned char c : utf8) ascii = ascii && c < 0x80;
  if (ascii) return std::string(utf8);
#ifdef _WIN32
  return Convert(utf8, CP_UTF8, kGbkCodePage);
#else
  return Convert(utf8, "UTF-8", "GBK");
#endif
}

std::string Utf8FromGbk(std::string_view gbk) {
#ifdef _WIN32
  return Convert(gbk, kGbkCodePage, CP_UTF8);
#else
  return Convert(gbk, "GBK", "UTF-8");
#endif
}

std::string HexBytes(std::string_view bytes) {
  std::string out;
  char piece[4];
  for (unsigned char c : bytes) {
    if (!out.empty()) out.push_back(' ');
    std::snprintf(piece, sizeof piece, "%02X", c);
    out += piece;
  }
  return out;
}
