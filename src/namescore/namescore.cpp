#include "namescore/namescore.h"

#include "core/gbk.h"
#include "core/number.h"
#include "core/text.h"

std::int32_t NameScore(std::string_view gbkName) {
  const Text name = RemoveSpaces(gbkName);
  // The same name must give the same score everywhere, to the last bit: the
  // sum and the product are each rounded to a double before the next step
  // (two statements; this file is also built without floating-point
  // contraction, so no fused multiply-add merges them).
  const int n = TextLength(name);
  double a = 0.0;
  for (int i = 1; i <= n; ++i) {
    const double sum = a + static_cast<double>(CharCode(name, i));
    const double product = sum * 8.8;
    a = product;
  }
  // Remainder keeps the sign of a (Chinese bytes are negative), the absolute
  // value drops it and the truncation leaves 0..99. A name long enough to
  // overflow a gives NaN here, which NumberToInteger turns into 0.
  return NumberToInteger(AbsoluteValue(Remainder(a, 100.0)));
}

std::string ScoreGrade(std::int32_t count) {
  if (count < 0) return Gbk("←残级→");
  if (count > 0 && count < 21) return Gbk("←底级→");
  if (count > 20 && count < 41) return Gbk("←低级→");
  if (count > 40 && count < 61) return Gbk("←中级→");
  if (count > 60 && count < 81) return Gbk("←高级→");
  if (count > 80 && count < 99) return Gbk("←超级→");
  return Gbk("←神级→");
}

std::string ScoreVerdict(std::int32_t score) {
  // The ranges are tested on the score as a double with a margin of 1e-7;
  // for whole numbers this selects 0, 1-20, 21-40, 41-60, 61-80, 81-98, 99.
  const double d = static_cast<double>(score);
  constexpr double kMargin = 1e-7;
  if (AbsoluteValue(d) <= kMargin) return Gbk("像您这样的人还真是罕见啊！");
  if (d > kMargin && d - 21 < -kMargin) return Gbk("您是人么？总觉得狗都比你强！");
  if (d - 20 > kMargin && d - 41 < -kMargin) return Gbk("幸好你还知道1+1等于多少！");
  if (d - 40 > kMargin && d - 61 < -kMargin) return Gbk("您的人品还不够好哟，要多做善事啊！");
  if (d - 60 > kMargin && d - 81 < -kMargin) return Gbk("不错，继续发扬，相信您能更好！");
  if (d - 80 > kMargin && d - 99 < -kMargin) return Gbk("努力啊，差一点就可以升仙了！");
  return Gbk("你到底是人是鬼？还是神？");
}
