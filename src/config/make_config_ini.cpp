// Build tool: turns the UTF-8 source of the shipped config.ini into the file
// the program reads: GBK, CR LF between lines and no line break after the end
// marker. Refuses a source whose result the program would not load.
//   make_config_ini SOURCE.utf8 OUTPUT
#include <cstdio>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>

#include "config/config_text.h"
#include "core/gbk.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::cerr << "usage: make_config_ini SOURCE OUTPUT\n";
    return 2;
  }
  std::ifstream in(argv[1], std::ios::binary);
  if (!in) {
    std::cerr << argv[1] << ": cannot be read\n";
    return 1;
  }
  const std::string source{std::istreambuf_iterator<char>(in), {}};

  std::string text;
  std::size_t from = 0;
  int number = 0;
  while (from < source.size()) {
    std::size_t to = source.find('\n', from);
    if (to == std::string::npos) to = source.size();
    std::string line = source.substr(from, to - from);
    from = to + 1;
    ++number;
    if (!line.empty() && line.back() == '\r') line.pop_back();  // a CR LF checkout
    const std::string gbk = Gbk(line);
    if (Utf8FromGbk(gbk) != line) {
      std::cerr << argv[1] << ":" << number << ": has a character without a GBK form\n";
      return 1;
    }
    if (number > 1) text += "\r\n";
    text += gbk;
  }

  if (!ConfigFormatIsValid(text)) {
    std::cerr << argv[1] << ": the program would refuse this file\n";
    return 1;
  }
  const std::string temporary = std::string(argv[2]) + ".new";
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
    if (!out) {
      std::cerr << temporary << ": cannot be written\n";
      return 1;
    }
  }
  if (std::rename(temporary.c_str(), argv[2]) != 0) {
    std::cerr << argv[2] << ": cannot be replaced\n";
    return 1;
  }
  return 0;
}
