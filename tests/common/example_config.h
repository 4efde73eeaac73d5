#pragma once
// The example config.ini the tests share: two unit types with three units
// each. As a file it is GBK with CR LF between lines and nothing after the
// end marker.
#include <string>
#include <vector>

#include "core/gbk.h"

inline const std::vector<std::string>& ExampleConfigLines() {
  static const std::vector<std::string> lines = {
      ";//配置开始___",
      "【高级配置】",
      "约等到的位置为2",
      "π取值11位小数",
      "【单位配置】",
      "    类型=长度",
      "        名称=千米‖倍率=1000",
      "        名称=米‖倍率=1",
      "        名称=厘米‖倍率=0.01",
      "    类型=时间",
      "        名称=小时‖倍率=3600",
      "        名称=分钟‖倍率=60",
      "        名称=秒‖倍率=1",
      ";//配置结束___",
  };
  return lines;
}

// A config.ini text from UTF-8 lines: GBK, CR LF between lines, nothing after
// the last one.
inline std::string ConfigFromLines(const std::vector<std::string>& lines) {
  std::string text;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (i > 0) text += "\r\n";
    text += Gbk(lines[i]);
  }
  return text;
}

inline std::string ExampleConfig() { return ConfigFromLines(ExampleConfigLines()); }
