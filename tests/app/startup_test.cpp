// The process set-up RunProgram does before the main window, each check in a
// child process of its own.
#include <gtest/gtest.h>

#include <cfenv>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "app/app.h"
#include "config/settings_state.h"
#include "core/fatal.h"
#include "core/gbk.h"
#include "toolkit/toolkit.h"
#include "units/converter_page.h"

namespace {

void Initialise() {
  static int argc = 1;
  static char name[] = "app_startup_tests";
  static char* argv[] = {name, nullptr};
  InitialiseProgram(argc, argv);
}

void PrintBox(const tk::MessageBoxRecord& box) {
  std::fprintf(stderr, "box %d [%s] [%s]\n", box.kind, Utf8FromGbk(box.title).c_str(), Utf8FromGbk(box.text).c_str());
}

TEST(StartUpDeathTest, FatalErrorShowsTheErrorBoxThenEndsWithMinusOne) {
  EXPECT_EXIT(
      {
        Initialise();
        tk::SetMessageBoxHook(&PrintBox);
        FatalError(Gbk("不能整除于零"));
      },
      ::testing::ExitedWithCode(255), "box 16 \\[错误\\] \\[运行时出错!");
}

TEST(StartUpDeathTest, FloatingPointEnvironmentIsReset) {
  EXPECT_EXIT(
      {
        std::fesetround(FE_DOWNWARD);
        std::feraiseexcept(FE_INEXACT);
        Initialise();
        volatile double zero = 0.0;
        const double inf = 1.0 / zero;
        const double nan = zero / zero;
        const bool nearest = std::fegetround() == FE_TONEAREST;
        // 1/10 rounded to nearest is up; rounded down it would end in 9.
        volatile double ten = 10.0;
        const bool tenth = 1.0 / ten == 0x1.999999999999ap-4;
        std::fprintf(stderr, "%s %s %s %s\n", std::isinf(inf) ? "inf" : "-", std::isnan(nan) ? "nan" : "-",
                     nearest ? "nearest" : "-", tenth ? "tenth" : "-");
        std::exit(0);
      },
      ::testing::ExitedWithCode(0), "inf nan nearest tenth");
}

TEST(StartUpDeathTest, EndProgramReleasesTheSettingsTextAndTheCatalogue) {
  EXPECT_EXIT(
      {
        Initialise();
        ConfigText = "[config]";
        UnitTypeNames = {Gbk("长度")};
        UnitTables.resize(1);
        UnitTables[0].unitNames = {Gbk("米")};
        tk::SetExitRoutine([] {
          ReleaseAtExit();
          std::fprintf(stderr, "released: %zu %zu %zu\n", ConfigText.size(), UnitTypeNames.size(),
                       UnitTables.size());
        });
        tk::EndProgram(0);
      },
      ::testing::ExitedWithCode(0), "released: 0 0 0");
}

TEST(StartUp, CatalogueStartsEmpty) {
  UnitTypeNames = {"x"};
  UnitTables.resize(2);
  CreateCatalogueArrays();
  EXPECT_TRUE(UnitTypeNames.empty());
  EXPECT_TRUE(UnitTables.empty());
}

}  // namespace
