// A small program for the process tests: shows an error box, and once it is
// dismissed ends through EndProgram with exit code 3, as the start-up does
// after a config.ini error (with code 0).
#include <cstdio>

#include "core/gbk.h"
#include "toolkit/toolkit.h"

namespace {
void Release() { std::puts("exit routine ran"); }
}  // namespace

int main(int argc, char** argv) {
  tk::Initialise(argc, argv);
  tk::SetExitRoutine(&Release);
  tk::MessageBox(Gbk("找不到配置文件"), tk::kErrorIcon, Gbk("错误"));
  std::puts("box dismissed");
  tk::EndProgram(3);
}
