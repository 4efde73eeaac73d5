// LoadSettings, the first start-up step, on real files: a missing or
// malformed config.ini shows its box and ends the process with exit code 0;
// a good one sets ConfigText and the two settings.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "config/config_file.h"
#include "config/settings_page.h"
#include "config/settings_state.h"
#include "core/gbk.h"
#include "toolkit/toolkit.h"

namespace fs = std::filesystem;

namespace {

const std::string kExample = Gbk(
    ";//配置开始___\r\n【高级配置】\r\n约等到的位置为2\r\nπ取值11位小数\r\n【单位配置】\r\n"
    "    类型=长度\r\n        名称=千米‖倍率=1000\r\n        名称=米‖倍率=1\r\n;//配置结束___");

// A program directory of its own for each test.
class LoadSettingsTest : public testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "qh-load-XXXXXX").string();
    dir_ = mkdtemp(pattern.data());
    SetProgramDirectoryOverride(dir_.string());
    // Every box goes to standard error, where the death tests look for it.
    tk::SetMessageBoxHook([](const tk::MessageBoxRecord& box) {
      std::fprintf(stderr, "box kind=%d caption=[%s] text=[%s]\n", box.kind, HexBytes(box.title).c_str(),
                   HexBytes(box.text).c_str());
    });
  }
  void TearDown() override {
    tk::SetMessageBoxHook(nullptr);
    SetProgramDirectoryOverride(std::nullopt);
    fs::remove_all(dir_);
  }
  void PutConfig(const std::string& bytes) {
    std::ofstream((dir_ / "config.ini").string(), std::ios::binary) << bytes;
  }
  static std::string BoxPattern(const char* message) {
    return "box kind=16 caption=\\[" + HexBytes(Gbk("错误提示")) + "\\] text=\\[" + HexBytes(Gbk(message)) + "\\]";
  }
  fs::path dir_;
};

TEST_F(LoadSettingsTest, MissingFileEndsTheProgramWithZero) {
  EXPECT_EXIT(LoadSettings(), testing::ExitedWithCode(0), BoxPattern("系统配置文件不存在！"));
}

TEST_F(LoadSettingsTest, MalformedFileEndsTheProgramWithZero) {
  std::string utf8 =
      ";//配置开始___\r\n【高级配置】\r\n约等到的位置为2\r\nπ取值11位小数\r\n【单位配置】\r\n;//配置结束___";
  std::string zeroBeforeEnd = kExample;
  zeroBeforeEnd.insert(kExample.size() - 14, 1, '\0');
  const struct {
    const char* name;
    std::string bytes;
  } rows[] = {
      {"a line break after the end marker", kExample + "\r\n"},
      {"UTF-8", utf8},
      {"a byte-order mark", "\xEF\xBB\xBF" + kExample},
      {"a zero byte before the end marker", zeroBeforeEnd},
      {"an empty file", ""},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    PutConfig(row.bytes);
    EXPECT_EXIT(LoadSettings(), testing::ExitedWithCode(0), BoxPattern("系统配置文件有错误！"));
  }
}

TEST_F(LoadSettingsTest, DirectoryInPlaceOfTheFileIsMalformed) {
  fs::create_directory(dir_ / "config.ini");
  EXPECT_EXIT(LoadSettings(), testing::ExitedWithCode(0), BoxPattern("系统配置文件有错误！"));
}

TEST_F(LoadSettingsTest, GoodFileSetsTheTextAndTheSettings) {
  const std::string tail = Gbk("【单位配置】\r\n;//配置结束___");
  const struct {
    const char* name;
    std::string bytes, text;
    int round, pi;
  } rows[] = {
      {"the example", kExample, kExample, 2, 11},
      {"bytes after a zero right after the end marker are not read",
       kExample + std::string(1, '\0') + "\r\nmore", kExample, 2, 11},
      {"other values",
       Gbk(";//配置开始___\r\n【高级配置】\r\n约等到的位置为-4\r\nπ取值0位小数\r\n") + tail,
       Gbk(";//配置开始___\r\n【高级配置】\r\n约等到的位置为-4\r\nπ取值0位小数\r\n") + tail, -4, 0},
      {"out of range", Gbk(";//配置开始___\r\n【高级配置】\r\n约等到的位置为99\r\nπ取值12位小数\r\n") + tail,
       Gbk(";//配置开始___\r\n【高级配置】\r\n约等到的位置为99\r\nπ取值12位小数\r\n") + tail, 2, 11},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    PutConfig(row.bytes);
    RoundDigits = PiDigits = 77;
    testing::internal::CaptureStderr();
    LoadSettings();
    EXPECT_EQ(testing::internal::GetCapturedStderr().find("box"), std::string::npos);
    EXPECT_EQ(HexBytes(ConfigText), HexBytes(row.text));
    EXPECT_EQ(RoundDigits, row.round);
    EXPECT_EQ(PiDigits, row.pi);
  }
}

}  // namespace
