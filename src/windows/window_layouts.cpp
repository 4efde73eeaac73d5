// The layouts of AboutWindow, HelpWindow and FeedbackWindow. Client sizes are
// the outer sizes of the window design less the frame (6 × 28 pixels).
#include "windows/feedback_mail.h"
#include "windows/windows.h"

using tk::Align;
using tk::ControlSpec;
using tk::Kind;
using tk::Rgb;
using tk::WindowSpec;

namespace {

constexpr Rgb kBlack{0, 0, 0};
constexpr Rgb kBlue{0, 0, 255};
constexpr Rgb kDarkBlue{0, 0, 128};

// A one-line caption of AboutWindow: left-aligned, vertically centred.
ControlSpec AboutLabel(const char* name, int left, int top, int width, const char* text, Rgb colour) {
  return {.name = name,
          .kind = Kind::Label,
          .left = left,
          .top = top,
          .width = width,
          .height = 32,
          .text = text,
          .textColour = colour,
          .vcenter = true,
          .transparent = true};
}

WindowSpec MakeAboutWindow() {
  return {
      .name = "AboutWindow",
      .caption = "关于",
      .clientWidth = 309 - 6,
      .clientHeight = 224 - 28,
      .minimizeBox = false,
      .escCloses = true,
      .inTaskbar = false,
      .controls =
          {
              AboutLabel("标签1", 8, 8, 64, "产品名称：", kBlack),
              AboutLabel("产品名称标签", 72, 8, 64, "青禾计算器", kBlue),
              AboutLabel("标签2", 8, 40, 64, "产品版本：", kBlack),
              AboutLabel("产品版本标签", 72, 40, 24, "1.0", kBlue),
              AboutLabel("标签4", 8, 72, 64, "制作时间：", kBlack),
              AboutLabel("制作时间标签", 72, 72, 80, "2012年2月18日", kBlue),
              AboutLabel("标签3", 8, 104, 64, "作    者：", kBlack),
              AboutLabel("作者标签", 72, 104, 224, "青禾计算器开发组  青禾软件学社", kBlue),
              AboutLabel("标签9", 8, 136, 64, "邮    箱：", kBlack),
              {.name = "邮箱链接框",
               .kind = Kind::Hyperlink,
               .left = 72,
               .top = 136,
               .width = 96,
               .height = 32,
               .text = kAuthorMailbox,
               .textColour = kBlue,
               .vcenter = true,
               .transparent = true},
              {.name = "图标图片框", .kind = Kind::Picture, .left = 240, .top = 8, .width = 48, .height = 48},
              {.name = "关闭按钮",
               .kind = Kind::Button,
               .left = 208,
               .top = 152,
               .width = 80,
               .height = 32,
               .text = "关闭",
               .align = Align::Center},
          },
  };
}

WindowSpec MakeHelpWindow() {
  return {
      .name = "HelpWindow",
      .caption = "使用帮助",
      .clientWidth = 485 - 6,
      .clientHeight = 349 - 28,
      .minimizeBox = false,
      .escCloses = true,
      .inTaskbar = false,
      .controls =
          {
              {.name = "标签1",
               .kind = Kind::Label,
               .left = 8,
               .top = 8,
               .width = 88,
               .height = 24,
               .text = "热键参照表：",
               .textColour = kDarkBlue,
               .transparent = true},
              {.name = "热键列表框",
               .kind = Kind::ListView,
               .left = 8,
               .top = 32,
               .width = 272,
               .height = 280,
               .columns = {{"对象", 120}, {"按键", 130}},
               .rows =
                   {
                       {"清除数据（AC）", "退出键（Ecs）"},
                       {"删格（←）", "退格键（BackSpace）"},
                       {"等于（﹦）", "回车键（Enter）"},
                       {"约等于（≈）", "Ctrl键 + 回车键"},
                       {"求余数（…）", "斜杠键（\\）"},
                       {"求倒数（1/X）", "分号键（;）"},
                       {"求正弦（sin）", "S键"},
                       {"求余弦（cos）", "C键"},
                       {"求正切（tan）", "T键"},
                       {"求反正切（atn）", "A键"},
                       {"求自然对数（log）", "L键"},
                       {"求反对数（exp）", "E键"},
                       {"求n次乘方（X^n）", "Shift键 + 6键"},
                       {"求n次开方（n√X）", "Shift键 + 7键"},
                       {"加号（﹢）", "加号键（+）"},
                       {"减号（—）", "减号键（-）"},
                       {"乘号（×）", "乘号键（*）"},
                       {"除号（÷）", "除号键（/）"},
                       {"小数点", "圆点键（.）"},
                       {"π", "P键"},
                       {"0", "0键"},
                       {"1", "1键"},
                       {"2", "2键"},
                       {"3", "3键"},
                       {"4", "4键"},
                       {"5", "5键"},
                       {"6", "6键"},
                       {"7", "7键"},
                       {"8", "8键"},
                       {"9", "9键"},
                   }},
              {.name = "标签2",
               .kind = Kind::Label,
               .left = 288,
               .top = 8,
               .width = 56,
               .height = 24,
               .text = "功能介绍：",
               .textColour = kDarkBlue,
               .transparent = true},
              {.name = "介绍标签",
               .kind = Kind::Label,
               .left = 288,
               .top = 40,
               .width = 184,
               .height = 232,
               .text = "本产品提供以下服务：\r\n"
                       "  一、简单表达式计算\r\n"
                       "      由于本人知识有限，未学到更深的数学知识，因此不能编出更多的函数计算式，"
                       "仅能满足基本计算。\r\n"
                       "      用鼠标或键盘输入欲计算的数值和运算就可求出对应的答案。\r\n"
                       "  二、单位换算\r\n"
                       "      在本目录下的config.ini文件可配置单位的信息。\r\n"
                       "      选择单位类型和输入、输出的单位，键入欲转换的数值。\r\n"
                       "  三、人品计算\r\n"
                       "      此功能仅供娱乐，所测分数纯属虚构。\r\n"
                       "      输入欲测试的姓名，点击“测试”按钮就可测出该姓名的“人品”值。",
               .textColour = kBlack,
               .align = Align::Left,
               .wordWrap = true,
               .transparent = true},
              {.name = "关闭按钮",
               .kind = Kind::Button,
               .left = 384,
               .top = 280,
               .width = 88,
               .height = 32,
               .text = "关闭",
               .align = Align::Center},
          },
  };
}

WindowSpec MakeFeedbackWindow() {
  return {
      .name = "FeedbackWindow",
      .caption = "发表意见",
      .clientWidth = 292 - 6,
      .clientHeight = 250 - 28,
      .minimizeBox = false,
      .escCloses = true,
      .inTaskbar = false,
      .controls =
          {
              {.name = "标签1",
               .kind = Kind::Label,
               .left = 8,
               .top = 8,
               .width = 160,
               .height = 24,
               .text = "欢迎您来发表意见！",
               .textColour = Rgb{0, 136, 255},
               .align = Align::Center,
               .transparent = true,
               .raised = true,
               .font = {.family = "宋体", .pixelSize = 16, .weight = 700}},
              {.name = "标签2",
               .kind = Kind::Label,
               .left = 8,
               .top = 40,
               .width = 280,
               .height = 32,
               .text = "如果本产品有哪些不够好的或者是需要改进的地方，您可以给我提些意见！",
               .textColour = kBlack,
               .wordWrap = true,
               .transparent = true},
              {.name = "意见编辑框",
               .kind = Kind::Edit,
               .left = 8,
               .top = 72,
               .width = 272,
               .height = 104,
               .multiline = true,
               .vscroll = true},
              {.name = "联系按钮",
               .kind = Kind::ColourButton,
               .left = 8,
               .top = 184,
               .width = 128,
               .height = 32,
               .text = "QQ联系（580216739）",
               .textColour = Rgb{0, 96, 192},
               .hoverTextColour = Rgb{0, 136, 255},
               .align = Align::Center,
               .linkStyle = true,
               .font = {.family = "宋体", .pixelSize = 12}},
              {.name = "提交按钮",
               .kind = Kind::Button,
               .left = 224,
               .top = 184,
               .width = 56,
               .height = 32,
               .text = "提交",
               .align = Align::Center},
              {.name = "关闭按钮",
               .kind = Kind::Button,
               .left = 160,
               .top = 184,
               .width = 56,
               .height = 32,
               .text = "关闭",
               .align = Align::Center},
          },
  };
}

}  // namespace

const tk::WindowSpec& AboutWindowLayout() {
  static const WindowSpec layout = MakeAboutWindow();
  return layout;
}

const tk::WindowSpec& HelpWindowLayout() {
  static const WindowSpec layout = MakeHelpWindow();
  return layout;
}

const tk::WindowSpec& FeedbackWindowLayout() {
  static const WindowSpec layout = MakeFeedbackWindow();
  return layout;
}
