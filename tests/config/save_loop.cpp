// Saves two different contents into one file in turns until it is killed.
// The file tests kill it at random moments and look at what is left.
#include <chrono>
#include <cstdio>
#include <string>

#include "config/config_file.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: save_loop FILE BYTES\n");
    return 2;
  }
  const std::string path = argv[1];
  const std::size_t size = std::stoul(argv[2]);
  const std::string contents[2] = {std::string(size, 'A'), std::string(size, 'B')};
  // A loop left behind by a failed test ends by itself.
  const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  for (unsigned long round = 0; std::chrono::steady_clock::now() < giveUp; ++round) {
    if (!WriteWholeFile(path, contents[round % 2])) return 1;
    if (round == 0) {
      std::puts("saved");  // the file now holds one whole content
      std::fflush(stdout);
    }
  }
  return 0;
}
