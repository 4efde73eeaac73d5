#include "app/main_window.h"

using tk::Align;
using tk::ControlSpec;
using tk::GradientFrame;
using tk::Input;
using tk::Kind;
using tk::Rgb;

namespace {

constexpr Rgb kBlack{0, 0, 0};
constexpr Rgb kWhite{255, 255, 255};
constexpr Rgb kBlue{0, 0, 255};
constexpr Rgb kGreen{0, 128, 0};
constexpr Rgb kRed{255, 0, 0};

// Pages of 模式选择夹.
constexpr int kCalculatorPage = 1;
constexpr int kConverterPage = 2;
constexpr int kNameScorePage = 3;
constexpr int kSettingsPage = 4;

// The keypad: five columns, six rows of 40 x 24 colour buttons.
constexpr int kKeyLeft[5] = {8, 56, 104, 152, 200};
constexpr int kKeyTop[6] = {80, 112, 144, 176, 208, 240};

enum class KeyGroup { Entry, Operator, Function, Clear };

struct Key {
  const char* name;
  const char* caption;
  const char* tag;
  const char* tooltip;
  KeyGroup group;
};

// Row by row, left to right. The tag, not the caption, is what the shared
// handlers pass on: "·" passes ".", the operators pass a space and their
// symbol.
constexpr Key kKeys[6][5] = {
    {{"按钮7", "7", "7", nullptr, KeyGroup::Entry},
     {"按钮8", "8", "8", nullptr, KeyGroup::Entry},
     {"按钮9", "9", "9", nullptr, KeyGroup::Entry},
     {"删格按钮", "←", nullptr, "删格", KeyGroup::Clear},
     {"清除按钮", "AC", nullptr, "清除", KeyGroup::Clear}},
    {{"按钮4", "4", "4", nullptr, KeyGroup::Entry},
     {"按钮5", "5", "5", nullptr, KeyGroup::Entry},
     {"按钮6", "6", "6", nullptr, KeyGroup::Entry},
     {"求n次乘方按钮", "X^n", " ∧", "求n次乘方", KeyGroup::Operator},
     {"求n次开方按钮", "n√X", " √", "求n次开方", KeyGroup::Operator}},
    {{"按钮1", "1", "1", nullptr, KeyGroup::Entry},
     {"按钮2", "2", "2", nullptr, KeyGroup::Entry},
     {"按钮3", "3", "3", nullptr, KeyGroup::Entry},
     {"乘按钮", "×", " ×", nullptr, KeyGroup::Operator},
     {"除按钮", "÷", " ÷", nullptr, KeyGroup::Operator}},
    {{"按钮0", "0", "0", nullptr, KeyGroup::Entry},
     {"小数点按钮", "·", ".", nullptr, KeyGroup::Entry},
     {"圆周率按钮", "π", "π", nullptr, KeyGroup::Entry},
     {"加按钮", "﹢", " ﹢", nullptr, KeyGroup::Operator},
     {"减按钮", "—", " —", nullptr, KeyGroup::Operator}},
    {{"求正弦按钮", "sin", "sin", "求正弦", KeyGroup::Function},
     {"求正切按钮", "tan", "tan", "求正切", KeyGroup::Function},
     {"求自然对数按钮", "log", "log", "求自然对数", KeyGroup::Function},
     {"求倒数按钮", "1/X", "1/X", "求倒数", KeyGroup::Function},
     {"求余数按钮", "…", " …", "求余数", KeyGroup::Function}},
    {{"求余弦按钮", "cos", "cos", "求余弦", KeyGroup::Function},
     {"求反正切按钮", "atn", "atn", "求反正切", KeyGroup::Function},
     {"求反对数按钮", "exp", "exp", "求反对数", KeyGroup::Function},
     {"约等于按钮", "≈", " ≈", "约等于", KeyGroup::Function},
     {"等于按钮", "﹦", " ﹦", "等于", KeyGroup::Function}},
};

struct GroupColours {
  Rgb normal, hovered;
};

GroupColours ColoursOf(KeyGroup group) {
  switch (group) {
    case KeyGroup::Entry: return {{230, 230, 255}, {208, 208, 255}};
    case KeyGroup::Operator: return {{232, 244, 244}, {209, 233, 233}};
    case KeyGroup::Function: return {{255, 236, 217}, {255, 225, 196}};
    case KeyGroup::Clear: return {{255, 232, 232}, {255, 200, 200}};
  }
  return {};
}

// The three score labels of the name score page share one frame.
constexpr GradientFrame kScoreFrame{5, {155, 207, 255}, {255, 255, 255}, {155, 207, 255}};

// Page 2's captions: black on white, one line, vertically centred.
ControlSpec ConverterLabel(const char* name, int top, const char* text) {
  return ControlSpec{.name = name, .kind = Kind::Label, .page = kConverterPage, .left = 8, .top = top,
                     .width = 56, .height = 20, .text = text, .textColour = kBlack, .background = kWhite,
                     .vcenter = true};
}

ControlSpec ConverterCombo(const char* name, int top) {
  return ControlSpec{.name = name, .kind = Kind::Combo, .page = kConverterPage, .left = 64, .top = top,
                     .width = 176, .height = 20};
}

ControlSpec ConverterEdit(const char* name, int top, int height, Input input, bool multiline = false) {
  return ControlSpec{.name = name, .kind = Kind::Edit, .page = kConverterPage, .left = 64, .top = top,
                     .width = 176, .height = height, .multiline = multiline, .input = input};
}

ControlSpec SettingsButton(const char* name, int left, int top, int width, int height, const char* text) {
  return ControlSpec{.name = name, .kind = Kind::Button, .page = kSettingsPage, .left = left, .top = top,
                     .width = width, .height = height, .text = text};
}

tk::WindowSpec BuildSpec() {
  tk::WindowSpec w;
  w.name = kMainWindow;
  w.caption = "青禾计算器";
  w.clientWidth = 248;
  w.clientHeight = 272;
  w.minimizeBox = true;
  w.escCloses = false;  // Esc is the calculator's clear key
  w.inTaskbar = true;
  w.tabName = "模式选择夹";
  w.pageTitles = {"普通计算", "单位换算", "人品测试", "配置帮助"};
  w.tabFont = tk::Font{"宋体", 12, 400};

  auto& c = w.controls;

  // Page 1, 普通计算: the display, then the keypad row by row.
  c.push_back(ControlSpec{.name = "数据显示框", .kind = Kind::Label, .page = kCalculatorPage, .left = 8,
                          .top = 28, .width = 232, .height = 46, .text = "0", .textColour = kBlue,
                          .background = Rgb{224, 233, 224}, .align = Align::Right, .wordWrap = true,
                          .frame = GradientFrame{5, {255, 255, 210}, {255, 255, 255}, {255, 221, 187}}});
  for (int row = 0; row < 6; ++row) {
    for (int col = 0; col < 5; ++col) {
      const Key& k = kKeys[row][col];
      const GroupColours colours = ColoursOf(k.group);
      c.push_back(ControlSpec{.name = k.name, .kind = Kind::ColourButton, .page = kCalculatorPage,
                              .left = kKeyLeft[col], .top = kKeyTop[row], .width = 40, .height = 24,
                              .text = k.caption, .textColour = kBlack, .background = colours.normal,
                              .hoverBackground = colours.hovered, .tag = k.tag, .tooltip = k.tooltip});
    }
  }

  // Page 2, 单位换算.
  c.push_back(ConverterLabel("标签7", 40, "单位类型："));
  c.push_back(ConverterCombo("单位类型组合框", 40));
  c.push_back(ConverterLabel("标签1", 72, "输入单位："));
  c.push_back(ConverterCombo("输入单位组合框", 72));
  c.push_back(ConverterLabel("标签2", 100, "输入数据："));
  c.push_back(ConverterEdit("输入数据编辑框", 100, 20, Input::Decimal));
  c.push_back(ConverterLabel("标签3", 128, "输出单位："));
  c.push_back(ConverterCombo("输出单位组合框", 128));
  c.push_back(ConverterLabel("标签4", 156, "输出数据："));
  c.push_back(ConverterEdit("输出数据编辑框", 156, 20, Input::ReadOnly));
  c.push_back(ConverterLabel("标签5", 184, "进    率："));
  c.push_back(ConverterEdit("进率编辑框", 184, 20, Input::ReadOnly));
  c.push_back(ConverterLabel("标签6", 212, "完整输出："));
  c.push_back(ConverterEdit("完整输出编辑框", 212, 52, Input::ReadOnly, true));

  // Page 3, 人品测试.
  c.push_back(ControlSpec{.name = "标签9", .kind = Kind::Label, .page = kNameScorePage, .left = 16, .top = 40,
                          .width = 192, .height = 16, .text = "声明：此功能仅供娱乐，不必当真！",
                          .textColour = kBlue, .background = kWhite});
  c.push_back(ControlSpec{.name = "标签8", .kind = Kind::Label, .page = kNameScorePage, .left = 16, .top = 80,
                          .width = 96, .height = 24, .text = "请输入您的姓名：", .textColour = kBlack,
                          .background = kWhite});
  c.push_back(ControlSpec{.name = "姓名编辑框", .kind = Kind::Edit, .page = kNameScorePage, .left = 16,
                          .top = 104, .width = 160, .height = 32, .textColour = kGreen, .maxBytes = 10,
                          .font = tk::Font{"新宋体", 16, 700}});
  c.push_back(ControlSpec{.name = "测试按钮", .kind = Kind::Button, .page = kNameScorePage, .left = 176,
                          .top = 104, .width = 64, .height = 32, .text = "开始测试"});
  c.push_back(ControlSpec{.name = "测试进度条", .kind = Kind::ProgressBar, .page = kNameScorePage, .left = 16,
                          .top = 152, .width = 224, .height = 24});
  c.push_back(ControlSpec{.name = "得分标签", .kind = Kind::Label, .page = kNameScorePage, .left = 16,
                          .top = 192, .width = 88, .height = 48, .text = "分数", .textColour = kRed,
                          .background = kWhite, .align = Align::Center, .vcenter = true,
                          .font = tk::Font{"Cooper Std Black", 40, 900}, .frame = kScoreFrame});
  c.push_back(ControlSpec{.name = "等级标签", .kind = Kind::Label, .page = kNameScorePage, .left = 16,
                          .top = 232, .width = 88, .height = 32, .text = "←等级→", .textColour = kBlue,
                          .background = kWhite, .align = Align::Center, .vcenter = true,
                          .font = tk::Font{"宋体", 16, 700}, .frame = kScoreFrame});
  c.push_back(ControlSpec{.name = "评价标签", .kind = Kind::Label, .page = kNameScorePage, .left = 99,
                          .top = 192, .width = 141, .height = 72, .text = "\r\n    评 价", .textColour = kGreen,
                          .background = kWhite, .wordWrap = true, .font = tk::Font{"宋体", 19, 400},
                          .frame = kScoreFrame});

  // Page 4, 配置帮助.
  c.push_back(ControlSpec{.name = "标签10", .kind = Kind::Label, .page = kSettingsPage, .left = 12, .top = 48,
                          .width = 220, .height = 32,
                          .text = "数值四舍五入保留的小数位数：\r\n（〉0约到小数部分，≤0约到整数部分）",
                          .textColour = kBlack, .background = kWhite, .wordWrap = true});
  c.push_back(ControlSpec{.name = "约到位数编辑框", .kind = Kind::Edit, .page = kSettingsPage, .left = 16,
                          .top = 88, .width = 104, .height = 24, .input = Input::Integer});
  c.push_back(SettingsButton("默认按钮", 152, 104, 80, 24, "恢复默认"));
  c.push_back(ControlSpec{.name = "标签11", .kind = Kind::Label, .page = kSettingsPage, .left = 12, .top = 128,
                          .width = 132, .height = 24, .text = "π取到小数部分的位数：\r\n（0～11）",
                          .textColour = kBlack, .background = kWhite, .wordWrap = true});
  c.push_back(ControlSpec{.name = "圆周率编辑框", .kind = Kind::Edit, .page = kSettingsPage, .left = 16,
                          .top = 160, .width = 104, .height = 24, .input = Input::Integer});
  c.push_back(SettingsButton("确认按钮", 152, 144, 80, 24, "应用配置"));
  c.push_back(ControlSpec{.name = "分隔标签", .kind = Kind::Label, .page = kSettingsPage, .left = 1, .top = 194,
                          .width = 246, .height = 2, .background = Rgb{123, 171, 206}});
  c.push_back(SettingsButton("关于按钮", 16, 216, 64, 32, "关于"));
  c.push_back(SettingsButton("帮助按钮", 92, 216, 64, 32, "帮助"));
  c.push_back(SettingsButton("建议按钮", 168, 216, 64, 32, "建议"));
  return w;
}

}  // namespace

const tk::WindowSpec& MainWindowSpec() {
  static const tk::WindowSpec layout = BuildSpec();
  return layout;
}
